#pragma once
// Shared by the fuzz targets; included by their sources, not built on its own.

#include <QGuiApplication>

#include <cstdlib>
#include <string>

// libFuzzer's own main creates no application; fonts and the picture decoders' plugins want one.
// The first call makes it on the offscreen platform (unless another is asked for) under the
// target's name; later calls and the replay program's own application leave things as they are.
inline void ensureFuzzApplication(const char* targetName) {
    if (QCoreApplication::instance())
        return;
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static std::string name = targetName;
    static char* argv[] = {name.data(), nullptr};
    static QGuiApplication app(argc, argv);
}
