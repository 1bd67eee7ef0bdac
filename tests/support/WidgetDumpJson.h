#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

namespace TestSupport {

// The first widget of a dumped widget tree with that objectName; empty when there is none.
inline QJsonObject findNamed(const QJsonObject& widget, const QString& name) {
    if (widget.value(QLatin1String("objectName")).toString() == name)
        return widget;
    for (const QJsonValue& child : widget.value(QLatin1String("children")).toArray()) {
        const QJsonObject found = findNamed(child.toObject(), name);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

} // namespace TestSupport
