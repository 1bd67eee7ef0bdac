#pragma once

#include <QString>
#include <QStringList>

// Facts of the program's start that do not need a window.
namespace Startup {

// The project named on the command line: exactly one argument (after the program name) naming
// an existing file. Empty in every other case (no argument, several, or a missing file), in
// which the program runs New instead; a missing file gives no message.
QString ProjectToOpen(const QStringList& argumentsWithoutProgram);

// How long the splash stays up at least: TINTARO_SPLASH_MS in milliseconds (tests set 0),
// 3000 when unset or not a number.
int SplashMinimumMs();

} // namespace Startup
