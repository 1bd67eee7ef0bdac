#include "widgets/uFontSizeText.h"

bool IsFontSizeTyping(const QString& text) {
    if (text.size() > 4)
        return false;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

std::optional<int> AcceptFontSizeText(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || !IsFontSizeTyping(trimmed))
        return std::nullopt;
    const int size = trimmed.toInt();
    if (size < 1 || size > kMaxFontSize)
        return std::nullopt;
    return size;
}
