#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The member names of the JSON object whose opening brace stands at `from`, in the order the
// text gives them (QJsonObject sorts its keys, so the command's order is read from the text).
inline QStringList keysInOrder(const QByteArray& json, qsizetype from = 0) {
    QStringList keys;
    int depth = 0;
    bool inString = false;
    QString current;
    bool atKey = true;
    for (qsizetype i = from; i < json.size(); ++i) {
        const char c = json[i];
        if (inString) {
            if (c == '\\') {
                ++i;
                continue;
            }
            if (c == '"') {
                inString = false;
                if (depth == 1 && atKey)
                    keys << current;
                continue;
            }
            current += QLatin1Char(c);
            continue;
        }
        if (c == '"') {
            inString = true;
            current.clear();
        } else if (c == '{' || c == '[') {
            ++depth;
        } else if (c == '}' || c == ']') {
            if (--depth == 0)
                break; // the object has ended
        } else if (depth == 1 && c == ':') {
            atKey = false;
        } else if (depth == 1 && c == ',') {
            atKey = true;
        }
    }
    return keys;
}
