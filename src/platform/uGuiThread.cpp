#include "platform/uGuiThread.h"

#include <QCoreApplication>
#include <QMutex>
#include <QSet>
#include <QThread>
#include <QtGlobal>

#include <atomic>

namespace {
std::atomic<int> gViolations{0};
}

namespace GuiThread {

bool IsCurrent() {
    const QCoreApplication* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

void Check(const char* entryPoint) {
    if (IsCurrent())
        return;
    ++gViolations;
    static QMutex mutex;
    static QSet<QByteArray> reported;
    {
        const QMutexLocker lock(&mutex);
        if (reported.contains(entryPoint))
            return;
        reported.insert(entryPoint);
    }
    qCritical("%s called outside the user interface's thread", entryPoint);
}

int Violations() {
    return gViolations.load();
}

} // namespace GuiThread
