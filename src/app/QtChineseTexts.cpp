#include "QtChineseTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace sedilo::gui {

namespace {

// Qt's Chinese catalogue, with the message box's details button worded as
// the window's other texts are ("显示详细信息…" rather than Qt's "显示详情...").
class QtChineseTranslator : public QTranslator {
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override
    {
        if (qstrcmp(context, "QMessageBox") == 0) {
            if (qstrcmp(sourceText, "Show Details...") == 0)
                return QStringLiteral("显示详细信息…");
            if (qstrcmp(sourceText, "Hide Details...") == 0)
                return QStringLiteral("隐藏详细信息…");
        }
        return QTranslator::translate(context, sourceText, disambiguation, n);
    }
};

} // namespace

bool installQtChineseTexts(QCoreApplication& application)
{
    auto* translator = new QtChineseTranslator(&application);
    if (!translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace sedilo::gui
