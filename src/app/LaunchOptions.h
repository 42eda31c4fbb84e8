#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

namespace sedilo::gui {

// What the command line of `sedilo` asks for.
struct LaunchOptions {
    QString databasePath;  // --db FILE; empty: the usual place
    QString screenshotDir; // --screenshot DIR; empty: the interactive window
    QSize windowSize;      // --size WxH; invalid: the default size
    QString textToPrint;   // --help or --version: print this and exit
};

// True when the arguments ask for screenshots, help or the version, which
// need no display: the platform must be chosen before the application object
// exists, so this looks at argv directly.
bool needsNoDisplay(int argc, char* argv[]);

// Parses the arguments (the program name first). On a usage error returns
// nothing and sets `error`.
std::optional<LaunchOptions> parseLaunchOptions(const QStringList& arguments, QString& error);

} // namespace sedilo::gui
