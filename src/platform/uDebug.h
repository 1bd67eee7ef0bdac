#pragma once

#include <QElapsedTimer>
#include <QString>

#include <functional>

// The one trace output. Every line reads "%.4d %s": the milliseconds since the trace object was
// created, at least four digits, a blank and the text. The configured sink discards the lines;
// TINTARO_TRACE=1 in the environment sends them to stderr for diagnosis.
class TDebug {
public:
    using Sink = std::function<void(const QString& line)>;

    static TDebug& instance();
    // Writes the closing lines; called once at exit by the program's main block.
    static void shutdown();

    void Trace(const QString& text);
    template <typename... Args>
    void TraceFmt(const char* format, Args... args) {
        Trace(QString::asprintf(format, args...));
    }

    // Replaces the sink (tests capture lines); an empty sink discards.
    void setSink(Sink sink);
    qint64 elapsedMs() const { return timer_.elapsed(); }

private:
    TDebug();
    ~TDebug();

    QElapsedTimer timer_;
    Sink sink_;
};

inline TDebug& Debug() {
    return TDebug::instance();
}
