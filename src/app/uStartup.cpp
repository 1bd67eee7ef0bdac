#include "app/uStartup.h"

#include <QFileInfo>

#include <cstdlib>

namespace Startup {

QString ProjectToOpen(const QStringList& argumentsWithoutProgram) {
    if (argumentsWithoutProgram.size() != 1)
        return {};
    const QString& path = argumentsWithoutProgram.first();
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return {};
    return path;
}

int SplashMinimumMs() {
    constexpr int defaultMs = 3000;
    const char* env = std::getenv("TINTARO_SPLASH_MS");
    if (!env || !*env)
        return defaultMs;
    bool ok = false;
    const int ms = QString::fromLatin1(env).trimmed().toInt(&ok);
    if (!ok)
        return defaultMs;
    return ms < 0 ? 0 : ms;
}

} // namespace Startup
