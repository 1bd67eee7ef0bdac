#include "platform/uPaintGuard.h"

#include <QHash>
#include <QPainter>
#include <QPen>

#include <exception>

namespace {
int gFailures = 0;
QHash<QByteArray, QString>& firstFailures() {
    static QHash<QByteArray, QString> failures;
    return failures;
}

void report(const char* view, const QString& what) {
    ++gFailures;
    auto& first = firstFailures();
    if (first.contains(view))
        return;
    first.insert(view, what);
    qCritical("%s: drawing failed: %s", view, qPrintable(what));
}
} // namespace

bool GuardedPaint(const char* view, const std::function<void()>& paint) {
    try {
        paint();
        return true;
    } catch (const std::exception& e) {
        report(view, QString::fromUtf8(e.what()));
    } catch (...) {
        report(view, QStringLiteral("unknown failure"));
    }
    return false;
}

int PaintFailures() {
    return gFailures;
}

QString FirstPaintFailure(const char* view) {
    return firstFailures().value(view);
}

void DrawPaintPlaceholder(QPainter& painter, const QRect& area) {
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.fillRect(area, QColor(0xE0, 0xE0, 0xE0));
    painter.setPen(QPen(QColor(0xA0, 0xA0, 0xA0), 1));
    painter.drawLine(area.topLeft(), area.bottomRight());
    painter.drawLine(area.topRight(), area.bottomLeft());
    painter.restore();
}
