#include "platform/uGuarded.h"

#include "platform/Exception.h"
#include "platform/uDebug.h"
#include "platform/uInfoausgabe.h"

#include <QGuiApplication>

namespace {

void reportFailure(const char* name, const QString& message) {
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
    InfoAusgabe().Info(QString());
    Debug().Trace(QLatin1String(name) + QStringLiteral(": ") + message);
    InfoAusgabe().Error(message);
}

} // namespace

bool Guarded(const char* name, const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const Exception& e) {
        reportFailure(name, e.message());
    } catch (const std::exception& e) {
        reportFailure(name, QString::fromLocal8Bit(e.what()));
    }
    return false;
}
