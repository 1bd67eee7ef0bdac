#pragma once

// Real pointer gestures for the tests that run on an X server: xdotool moves the pointer, so the
// program sees the same events a user's mouse would give it.
#include <QElapsedTimer>
#include <QList>
#include <QPoint>
#include <QProcess>
#include <QStringList>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace TestSupport {

// Waits, running the event loop, until the condition holds or the time is up.
inline bool waitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms)
        QTest::qWait(20);
    return done();
}

// Presses at the first global point, moves through the others with a pause at each and lets go
// at the last after lastPause seconds; false when xdotool cannot be started.
inline bool dragThrough(const QList<QPoint>& points, const QString& lastPause = QStringLiteral("0.5")) {
    if (points.isEmpty())
        return false;
    const auto n = [](int v) { return QString::number(v); };
    QStringList steps{QStringLiteral("mousemove"), n(points.first().x()), n(points.first().y()),
                      QStringLiteral("mousedown"), QStringLiteral("1")};
    for (qsizetype i = 1; i < points.size(); ++i)
        steps << QStringLiteral("sleep") << QStringLiteral("0.3") << QStringLiteral("mousemove")
              << n(points[i].x()) << n(points[i].y());
    steps << QStringLiteral("sleep") << lastPause << QStringLiteral("mouseup") << QStringLiteral("1");
    QProcess pointer;
    pointer.start(QStringLiteral("xdotool"), steps);
    if (!pointer.waitForStarted(5000))
        return false;
    EXPECT_TRUE(waitFor([&] { return pointer.state() == QProcess::NotRunning; }, 20000));
    QTest::qWait(200);
    return true;
}

} // namespace TestSupport
