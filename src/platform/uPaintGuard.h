#pragma once

#include <QString>

class QPainter;
class QRect;

#include <functional>

// A paint handler must not throw into the event loop, and a modal message inside a paint would
// re-enter it. GuardedPaint runs one paint step; when it throws, the failure is traced once per
// view name (later failures of the same view are only counted) and false tells the caller to
// draw its placeholder instead.
bool GuardedPaint(const char* view, const std::function<void()>& paint);

// Failed paint steps since start; the text of the first failure of a view, empty when none.
int PaintFailures();
QString FirstPaintFailure(const char* view);

// What a view shows where its drawing failed: a grey area with a cross, so the failure is seen
// without a message inside the paint.
void DrawPaintPlaceholder(QPainter& painter, const QRect& area);
