#include "LaunchOptions.h"

#include <QCommandLineParser>

#include <cstring>

namespace sedilo::gui {

namespace {
constexpr const char* kScreenshotOption = "screenshot";
} // namespace

bool wantsScreenshots(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (std::strcmp(argument, "--screenshot") == 0 || std::strncmp(argument, "--screenshot=", 13) == 0)
            return true;
    }
    return false;
}

std::optional<LaunchOptions> parseLaunchOptions(const QStringList& arguments, QString& error)
{
    QCommandLineParser parser;
    const QCommandLineOption database(QStringLiteral("db"), QStringLiteral("Use FILE as the seating database."),
                                      QStringLiteral("FILE"));
    const QCommandLineOption screenshot(QString::fromLatin1(kScreenshotOption),
                                        QStringLiteral("Save tab0.png to tab3.png of the window into DIR and exit."),
                                        QStringLiteral("DIR"));
    parser.addOption(database);
    parser.addOption(screenshot);
    if (!parser.parse(arguments)) {
        error = parser.errorText();
        return std::nullopt;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error = QStringLiteral("unexpected argument: ") + parser.positionalArguments().first();
        return std::nullopt;
    }
    LaunchOptions options;
    options.databasePath = parser.value(database);
    options.screenshotDir = parser.value(screenshot);
    if (parser.isSet(screenshot) && options.screenshotDir.isEmpty()) {
        error = QStringLiteral("--screenshot needs a folder");
        return std::nullopt;
    }
    return options;
}

} // namespace sedilo::gui
