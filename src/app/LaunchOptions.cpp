#include "LaunchOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>

#include <cstring>

namespace sedilo::gui {

namespace {
constexpr const char* kScreenshotOption = "screenshot";
constexpr int kLargestSide = 16384; // beyond this a picture of the window would not fit in memory

// "1200x800": the size, or an invalid one.
QSize parseSize(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{1,5})[xX×]([0-9]{1,5})$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return {};
    const QSize size(match.captured(1).toInt(), match.captured(2).toInt());
    if (size.width() > kLargestSide || size.height() > kLargestSide)
        return {};
    return size;
}
} // namespace

bool needsNoDisplay(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (std::strcmp(argument, "--screenshot") == 0 || std::strncmp(argument, "--screenshot=", 13) == 0)
            return true;
        for (const char* flag : {"--help", "-h", "--help-all", "--version", "-v"}) {
            if (std::strcmp(argument, flag) == 0)
                return true;
        }
    }
    return false;
}

std::optional<LaunchOptions> parseLaunchOptions(const QStringList& arguments, QString& error)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Seats the examinees of an examination in exam rooms: import the examinee workbook, define the rooms by "
        "their template workbooks, generate one seat-chart workbook per room and export the query workbooks.\n"
        "Without options it opens the window; the database data.mdb lies beside the program when that folder "
        "is writable, otherwise in ~/.local/share/sedilo/."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption database(QStringLiteral("db"), QStringLiteral("Use FILE as the seating database."),
                                      QStringLiteral("FILE"));
    const QCommandLineOption screenshot(QString::fromLatin1(kScreenshotOption),
                                        QStringLiteral("Save tab0.png to tab3.png of the window into DIR and exit."),
                                        QStringLiteral("DIR"));
    const QCommandLineOption size(QStringLiteral("size"),
                                  QStringLiteral("With --screenshot: the window's size, for example 1200x800 "
                                                 "(default and smallest 808x557)."),
                                  QStringLiteral("WxH"));
    parser.addOption(database);
    parser.addOption(screenshot);
    parser.addOption(size);
    if (!parser.parse(arguments)) {
        error = parser.errorText();
        return std::nullopt;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error = QStringLiteral("unexpected argument: ") + parser.positionalArguments().first();
        return std::nullopt;
    }
    LaunchOptions options;
    if (parser.isSet(help)) {
        // The usage line names the program as installed, not the path it was started by.
        const QString help = parser.helpText();
        const qsizetype afterProgram = help.indexOf(QLatin1String(" [options]"));
        options.textToPrint = afterProgram < 0 ? help : QStringLiteral("Usage: sedilo") + help.mid(afterProgram);
        return options;
    }
    if (parser.isSet(version)) {
        options.textToPrint = QCoreApplication::applicationName() + QLatin1Char(' ')
                              + QCoreApplication::applicationVersion() + QLatin1Char('\n');
        return options;
    }
    options.databasePath = parser.value(database);
    options.screenshotDir = parser.value(screenshot);
    if (parser.isSet(screenshot) && options.screenshotDir.isEmpty()) {
        error = QStringLiteral("--screenshot needs a folder");
        return std::nullopt;
    }
    if (parser.isSet(size)) {
        if (!parser.isSet(screenshot)) {
            error = QStringLiteral("--size goes with --screenshot");
            return std::nullopt;
        }
        options.windowSize = parseSize(parser.value(size));
        if (!options.windowSize.isValid()) {
            error = QStringLiteral("--size needs WIDTHxHEIGHT in pixels, for example 1200x800");
            return std::nullopt;
        }
    }
    return options;
}

} // namespace sedilo::gui
