#include "store/RebuildWorkingCopy.h"

#include "services/cipher/NameCipher.h"
#include "services/text/Trim.h"
#include "store/SeatingDatabase.h"
#include "store/Statements.h"

namespace sedilo::store {

namespace {

// DecryptName pads the name with U+0000 up to the cipher block.
std::string plainName(const std::string& decrypted)
{
    const std::string trimmed = trimSpaces(decrypted);
    return trimmed.substr(0, trimmed.find('\0'));
}

} // namespace

void RebuildWorkingCopy(SeatingDatabase& database, cipher::NameCipher& names)
{
    database.replaceSharedRecordset();
    database.replaceCopyRecordset();

    database.OpenDataConnection();
    database.SharedConnection().execute(sql::kDeleteWorkingCopy);
    database.SharedConnection().close();

    database.OpenDataConnection();
    Recordset& source = database.SharedRecordset();
    Recordset& target = database.CopyRecordset();
    source.open(sql::kSelectBaseData, database.SharedConnection());
    target.open(sql::kSelectWorkingCopy, database.SharedConnection());

    source.moveFirst();
    while (!source.atEnd()) {
        target.addNew();
        target.setValue("姓名", plainName(names.DecryptName(source.text("姓名"))));
        for (const char* column : {"考号", "单位", "成绩", "随机号"})
            target.setValue(column, source.value(column));
        target.update();
        source.moveNext();
    }

    source.close();
    target.close();
    database.SharedConnection().close();
}

} // namespace sedilo::store
