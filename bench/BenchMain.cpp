// Entry point of tintaro-bench: a GUI application on the offscreen platform so that fonts,
// images and painters work without a display.
#include "BenchSupport.h"
#include "i18n/uCoreTexts.h"
#include "i18n/ulocalize.h"

#include <QFile>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace BenchSupport {

double peakRssMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

void resetPeakRss() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

} // namespace BenchSupport

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    SetCoreTextsRegistration(RegisterCoreTexts);
    SetCurrentLanguage(kLanguageGerman);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
