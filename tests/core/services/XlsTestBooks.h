#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "services/workbook/xls/BiffRecord.h"

namespace sedilo::test {

// Reads a file whole.
std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);

// The workbook stream of an .xls file.
std::string workbookStream(const std::string& path);

// The bodies of the records of `type` in the substream that starts at
// `substreamStart` (0 for the globals), in order.
std::vector<std::string> recordBodies(const std::string& stream, std::uint16_t type, std::size_t substreamStart);

// Stream positions where the worksheets start, from the BOUNDSHEET records.
std::vector<std::size_t> sheetPositions(const std::string& stream);

// Empty when every stored stream position is right: BOUNDSHEET positions at
// BOF records, INDEX positions at DBCELL records, DBCELL offsets at the ROW
// record and the rows' first cell records. Otherwise the first fault.
std::string positionFaults(const std::string& stream);

// A small BIFF8 workbook written record by record, for cases the usual
// writers do not produce (LABEL, MULRK and MULBLANK cells, BIFF5, FILEPASS).
struct HandMadeCell {
    std::uint16_t type;
    std::string body; // without row and column
    int row;          // 0-based
    int column;
};
std::string handMadeWorkbook(const std::vector<HandMadeCell>& cells, std::uint16_t version = 0x0600,
                             bool encrypted = false, const std::string& streamName = "Workbook");

// Bodies for hand-made cells.
std::string labelBody(const std::u16string& text, bool wide);
std::string numberBody(double value);

} // namespace sedilo::test
