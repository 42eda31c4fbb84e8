#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "services/workbook/WorkbookError.h"

namespace sedilo::workbook {

// Worksheet 1 of an opened workbook: the only sheet the system reads or writes.
// Rows and columns are 1-based. Every failure is a WorkbookError.
class Worksheet {
public:
    virtual ~Worksheet() = default;

    // The cell's value converted to text ("" for an empty cell): text as stored,
    // numbers in their usual decimal form, dates as yyyy/m/d, booleans as
    // True/False, formulas as their cached result ("" when none was stored).
    // An error value (#N/A, ...) throws, naming the cell.
    virtual std::string cellText(int row, int column) const = 0;

    // A formula cell whose result was never stored (see FormulaResult.h).
    virtual bool formulaLacksResult(int row, int column) const = 0;

    // Writes a text value, keeping the cell's style. A formula cell becomes
    // that text value: its formula is gone.
    virtual void setCellText(int row, int column, const std::string& text) = 0;

    // Greatest row and column number of a cell holding a value or a formula
    // (formatting alone does not count); 0 when the sheet has none.
    virtual int lastRow() const = 0;
    virtual int lastColumn() const = 0;

    // In every cell, replaces every occurrence of `what` inside the text by
    // `with`; Latin letters match regardless of case. A formula cell whose
    // result text holds `what` becomes the replaced text as a value.
    virtual void replaceAll(const std::string& what, const std::string& with) = 0;

    // Every non-empty cell, row by row, left to right, with its text.
    virtual void forEachCell(const std::function<void(int row, int column, const std::string& text)>& visit) const = 0;
};

// A workbook file opened for reading and editing in place (.xlsx or .xls).
class Workbook {
public:
    virtual ~Workbook() = default;

    // Opens the file at `path`; the format is told from the content.
    static std::unique_ptr<Workbook> open(const std::string& path);

    virtual Worksheet& firstSheet() = 0;
    virtual const Worksheet& firstSheet() const = 0;

    // The file format's extension with its dot: ".xlsx", ".xlsm", ".xltx", ".xltm" or ".xls".
    virtual std::string extension() const = 0;

    // Saves under `pathWithoutExtension` + extension() and returns that path.
    // Written beside the target and renamed over it; an existing file is replaced.
    virtual std::string saveAs(const std::string& pathWithoutExtension) const = 0;
    // The same as a file that does not exist yet, in a folder only this
    // process writes to: formats that can write it in one go skip the
    // temporary file. Throws WorkbookError when the file exists.
    virtual std::string saveAsNew(const std::string& pathWithoutExtension) const { return saveAs(pathWithoutExtension); }
    // The whole file as saveAs would write it under `pathWithoutExtension`,
    // for formats made in memory; nothing for those written to a file.
    virtual std::optional<std::string> packagedFile(const std::string& pathWithoutExtension) const
    {
        (void)pathWithoutExtension;
        return std::nullopt;
    }

    // An independent copy of the parsed (and possibly edited) workbook, so that
    // one template parsed once can be filled for many rooms.
    virtual std::unique_ptr<Workbook> clone() const = 0;

    virtual const std::string& path() const = 0;
};

class SheetCellVisitor;

// Streams worksheet 1 of an .xlsx file cell by cell, in memory bounded
// whatever the sheet's size. Returns false, having read nothing, when the file
// is a workbook of another format: the caller opens it as a Workbook then.
bool streamXlsxFirstSheet(const std::string& path, SheetCellVisitor& visitor);

} // namespace sedilo::workbook
