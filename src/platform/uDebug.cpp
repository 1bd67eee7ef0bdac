#include "platform/uDebug.h"

#include <QDateTime>

#include <cstdio>
#include <cstdlib>

namespace {
TDebug* g_debug = nullptr;
}

TDebug& TDebug::instance() {
    if (!g_debug)
        g_debug = new TDebug;
    return *g_debug;
}

void TDebug::shutdown() {
    if (!g_debug)
        return;
    g_debug->Trace(QStringLiteral("**** ENDE ****\t%1 **** ")
                       .arg(QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"))));
    g_debug->Trace(QStringLiteral("Debug.Destroy"));
    delete g_debug;
    g_debug = nullptr;
}

TDebug::TDebug() {
    timer_.start();
    const char* env = std::getenv("TINTARO_TRACE");
    if (env && *env && std::string(env) != "0")
        sink_ = [](const QString& line) { std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData()); };
    Trace(QStringLiteral("Debug.Create"));
}

TDebug::~TDebug() = default;

void TDebug::Trace(const QString& text) {
    if (!sink_)
        return;
    sink_(QString::asprintf("%.4lld ", static_cast<long long>(timer_.elapsed())) + text);
}

void TDebug::setSink(Sink sink) {
    sink_ = std::move(sink);
}
