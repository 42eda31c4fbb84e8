#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "services/workbook/xls/BiffRecord.h"
#include "services/workbook/xls/CompoundFile.h"
#include "services/workbook/xls/SharedStrings.h"

namespace sedilo::workbook::xls {

// A cell of worksheet 1 as stored, with the record that holds it.
struct XlsCell {
    enum class Kind { Blank, Text, Number, Boolean, Error };

    Kind kind = Kind::Blank;
    bool formula = false;
    bool noResult = false; // a formula whose result was never stored
    std::string text;
    double number = 0;
    std::uint8_t code = 0; // boolean value or error code
    std::uint16_t xf = 0;
    std::size_t record = 0; // index into XlsBook::records
};

using CellKey = std::pair<int, int>; // 1-based row, column

inline constexpr std::size_t NoRecord = static_cast<std::size_t>(-1);

// The parsed, never-changed form of an .xls file, shared by every copy of
// a workbook.
struct XlsBook {
    CompoundEntry container;
    std::string streamName; // the workbook stream's name as stored
    std::string stream;
    std::vector<BiffRecord> records;

    SharedStrings sharedStrings;
    std::size_t sstRecord = NoRecord;  // the SST record
    std::size_t sstEnd = NoRecord;     // first record after its CONTINUE records
    std::size_t extSstRecord = NoRecord;
    std::size_t globalsEof = NoRecord;

    bool date1904 = false;
    std::vector<bool> xfIsDate;

    std::map<CellKey, XlsCell> cells; // worksheet 1
    int lastRow = 0;
    int lastColumn = 0;
};

} // namespace sedilo::workbook::xls
