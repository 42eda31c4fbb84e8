#include "services/workbook/xls/BiffRecord.h"

#include "services/workbook/xls/LittleEndian.h"

namespace sedilo::workbook::xls {

std::vector<BiffRecord> splitRecords(std::string_view stream)
{
    std::vector<BiffRecord> records;
    std::size_t position = 0;
    while (stream.size() - position >= 4) {
        BiffRecord rec;
        rec.type = readU16(stream.data() + position);
        rec.size = readU16(stream.data() + position + 2);
        rec.offset = position;
        if (rec.end() > stream.size())
            break;
        records.push_back(rec);
        position = rec.end();
    }
    return records;
}

void appendRecord(std::string& out, std::uint16_t type, std::string_view body)
{
    appendU16(out, type);
    appendU16(out, static_cast<std::uint16_t>(body.size()));
    out.append(body);
}

} // namespace sedilo::workbook::xls
