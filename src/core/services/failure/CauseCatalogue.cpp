#include "services/failure/CauseCatalogue.h"

// A kind added without its sentence is a build error, not an English fallback.
#pragma GCC diagnostic error "-Wswitch"

namespace sedilo {

namespace {

std::string quoted(const std::string& text) { return "“" + text + "”"; }

std::string columnLetters(int column)
{
    std::string letters;
    for (; column > 0; column = (column - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (column - 1) % 26));
    return letters;
}

// "文件“x”" or "该文件" when the subject is not known.
std::string fileSubject(const Cause& cause, const char* noun = "文件")
{
    return cause.file.empty() ? std::string("该") + noun : noun + quoted(cause.file);
}

std::string cellSubject(const Cause& cause)
{
    std::string text = fileSubject(cause, "工作簿");
    if (cause.row > 0)
        text += "第" + std::to_string(cause.row) + "行" + columnLetters(cause.column) + "列（" +
                columnLetters(cause.column) + std::to_string(cause.row) + "）";
    return text;
}

} // namespace

std::string ChineseCause(const Cause& cause)
{
    switch (cause.kind) {
    case CauseKind::Unknown:
        return "原因：发生了未预料的错误，详细信息中有技术说明。";
    case CauseKind::FileMissing:
        return "原因：" + fileSubject(cause) + "不存在。";
    case CauseKind::NotARegularFile:
        return "原因：" + quoted(cause.file) + "不是普通文件（是文件夹、管道或设备）。";
    case CauseKind::FileUnreadable:
        return "原因：" + fileSubject(cause) + "无法读取（没有权限或读取出错）。";
    case CauseKind::FolderMissing:
        return "原因：" + fileSubject(cause, "文件夹") + "不存在。";
    case CauseKind::FolderNotWritable:
        return "原因：" + fileSubject(cause, "文件夹") + "不允许写入。";
    case CauseKind::FileNotWritable:
        return "原因：" + fileSubject(cause) + "无法写入（没有权限，或正被其他程序使用）。";
    case CauseKind::DiskFull:
        return "原因：磁盘已满，" + fileSubject(cause) + "没能写完。";
    case CauseKind::NotAWorkbook:
        return "原因：" + fileSubject(cause) + "不是Excel工作簿。";
    case CauseKind::DamagedWorkbook:
        return "原因：" + fileSubject(cause, "工作簿") + "已损坏，无法读取。";
    case CauseKind::PasswordProtected:
        return "原因：" + fileSubject(cause, "工作簿") + "设有打开密码，请在Excel中取消密码后另存再用。";
    case CauseKind::WorkbookTooLarge:
        return "原因：" + fileSubject(cause, "工作簿") + "太大，超出了本软件能处理的范围。";
    case CauseKind::EmptySheet:
        return "原因：" + fileSubject(cause, "工作簿") + "的第一个工作表是空的。";
    case CauseKind::ErrorCell:
        return "原因：" + cellSubject(cause) + "是错误值。";
    case CauseKind::FormulaWithoutResult:
        return "原因：" + cellSubject(cause) + "是没有计算结果的公式，请在Excel中打开并保存后再用。";
    case CauseKind::TextTooLong:
        return "原因：" + cellSubject(cause) + "的文字太长。";
    case CauseKind::NotAFileName:
        return "原因：" + quoted(cause.name) + "不能用作文件名。";
    case CauseKind::DuplicateRoom:
        return "原因：有两个考室都叫" + quoted(cause.room) + "，考室名称不能重复。";
    case CauseKind::UnitCollidesWithRoom:
        return "原因：单位" + quoted(cause.unit) + "与考室" + quoted(cause.room) +
               "同名，导出的文件会覆盖该考室的考室文件。";
    case CauseKind::OutputIsTemplate:
        return "原因：考室" + quoted(cause.room) + "的考室文件就是模板文件" + quoted(cause.file) + "，会覆盖模板。";
    case CauseKind::DatabaseInUse:
        return "原因：数据库文件" + quoted(cause.file) + "正被另一个程序使用，请等它结束后再试。";
    case CauseKind::DatabaseUnusable:
        return "原因：数据库文件" + quoted(cause.file) + "无法使用（已损坏或不是本软件的数据库）。";
    case CauseKind::NoOrderingTicked:
        return "原因：没有选择考生排序方式。";
    case CauseKind::OutOfMemory:
        return "原因：" + (cause.file.empty() ? std::string("数据") : fileSubject(cause)) + "太大，内存不足。";
    case CauseKind::UnsupportedWorkbookFormat:
        return "原因：" + fileSubject(cause, "工作簿") + "是本软件不能读取的早期Excel格式，请在Excel中另存为.xlsx或Excel 97-2003工作簿后再用。";
    case CauseKind::UnitsShareFileName:
        return "原因：有几个单位去掉首尾空格后都叫" + quoted(cause.unit) + "，它们的查询文件会互相覆盖，请统一单位名称。";
    case CauseKind::NameNotStorable:
        return "原因：" + cellSubject(cause) + "的姓名无法加密保存。";
    case CauseKind::BadRoomListLine:
        return "原因：考室清单" + quoted(cause.file) + "第" + std::to_string(cause.row) + "行不是“考室名称<Tab>模板文件”的格式。";
    case CauseKind::OutputCollidesWithRoom:
        return "原因：要生成的文件" + quoted(cause.name) + "与考室" + quoted(cause.room) +
               "同名，会覆盖该考室的考室文件。";
    case CauseKind::OutputCollidesWithQueryWorkbook:
        return "原因：要生成的文件" + quoted(cause.name) + "与单位" + quoted(cause.unit) +
               "同名，会覆盖该单位的查询数据文件。";
    case CauseKind::Interrupted:
        return "原因：运行被中断（收到了停止信号）。";
    case CauseKind::RoomListEmpty:
        return "原因：考室列表" + quoted(cause.file) + "是空的，其中没有考室。";
    case CauseKind::NulInRoomList:
        return "原因：考室列表" + quoted(cause.file) + "第" + std::to_string(cause.row) + "行含有空字符，不是文本。";
    case CauseKind::NotAFolder:
        return "原因：" + quoted(cause.file) + "不是文件夹。";
    case CauseKind::NoDesktopHandler:
        return "原因：桌面没有能打开" + quoted(cause.file) + "的程序（没有找到xdg-open）。";
    case CauseKind::NoHomeFolder:
        return "原因：找不到当前用户的主文件夹，无处存放" + quoted(cause.file) + "。";
    }
    return "原因：发生了未预料的错误，详细信息中有技术说明。";
}

std::string WithCause(const std::string& message, const Cause& cause)
{
    return message + "\n" + ChineseCause(cause);
}

} // namespace sedilo
