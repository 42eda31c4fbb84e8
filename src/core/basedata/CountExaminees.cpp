#include "basedata/CountExaminees.h"

#include "basedata/ExamineeSheetReader.h"
#include "services/workbook/Workbook.h"

namespace sedilo::basedata {

int CountExaminees(const std::string& path)
{
    const auto book = workbook::Workbook::open(path);
    ExamineeSheetReader reader(book->firstSheet(), book->path());
    ExamineeSheetReader::Cells cells;
    while (reader.next(cells)) {
    }
    return reader.count();
}

} // namespace sedilo::basedata
