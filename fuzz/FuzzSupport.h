#pragma once
// Shared by the fuzz targets; included by their sources, not built on its own.

#include "document/uFotobuchBildManager.h"
#include "platform/uImaging.h"

#include <QGuiApplication>

#include <algorithm>
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

// Pictures inside fuzzed inputs go to the picture store, which decodes them up to the program's
// limit. A run stays short with a limit far lower: what is exercised is the limit logic, not the
// size. Set once per process.
inline void limitFuzzPictures() {
    static const bool limited = [] {
        TBildmanager::Instance().SetDecoder(
            [](const QByteArray& bytes, const Imaging::TDecodeOptions& options) {
                Imaging::TDecodeOptions small = options;
                small.MaxPixels = std::min<qint64>(options.MaxPixels, 256 * 256);
                return Imaging::Decode(bytes, small);
            });
        return true;
    }();
    (void)limited;
}
