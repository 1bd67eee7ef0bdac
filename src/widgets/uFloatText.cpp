#include "widgets/uFloatText.h"

#include "i18n/ulocalize.h"

#include <cmath>

QLocale LanguageLocale() {
    // The localizer's language indexes of the languages the program ships.
    switch (CurrentLanguage()) {
    case 0:
        return QLocale(QLocale::German, QLocale::Germany);
    case 1:
        return QLocale(QLocale::English, QLocale::UnitedKingdom);
    case 2:
        return QLocale(QLocale::French, QLocale::France);
    case 3:
        return QLocale(QLocale::Italian, QLocale::Italy);
    case 4:
        return QLocale(QLocale::Spanish, QLocale::Spain);
    case 5:
        return QLocale(QLocale::Portuguese, QLocale::Portugal);
    case 9:
        return QLocale(QLocale::Dutch, QLocale::Netherlands);
    case 18:
        return QLocale(QLocale::Danish, QLocale::Denmark);
    default:
        return QLocale::c();
    }
}

namespace {

bool IsSeparator(QChar c, QChar decimalSeparator) {
    return c == decimalSeparator || c == QLatin1Char('.');
}

// Sign, digits and one separator: the shape of a number, complete or not.
bool HasNumberShape(const QString& text, QChar decimalSeparator, int& digits) {
    digits = 0;
    int separators = 0;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if ((c == QLatin1Char('-') || c == QLatin1Char('+')) && i == 0)
            continue;
        if (IsSeparator(c, decimalSeparator)) {
            if (++separators > 1)
                return false;
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            ++digits;
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<double> ParseFloatText(const QString& text, QChar decimalSeparator) {
    const QString trimmed = text.trimmed();
    int digits = 0;
    if (!HasNumberShape(trimmed, decimalSeparator, digits) || digits == 0)
        return std::nullopt;
    QString c = trimmed;
    for (QChar& ch : c)
        if (IsSeparator(ch, decimalSeparator))
            ch = QLatin1Char('.');
    bool ok = false;
    const double value = QLocale::c().toDouble(c, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value == 0.0 ? 0.0 : value; // no "-0"
}

bool IsFloatTextPrefix(const QString& text, QChar decimalSeparator) {
    int digits = 0;
    return HasNumberShape(text.trimmed(), decimalSeparator, digits);
}

QString FormatFloatText(double value, QChar decimalSeparator) {
    if (!std::isfinite(value))
        return QString();
    if (value == 0.0)
        return QStringLiteral("0");
    // 15 significant digits: as many decimals as the integer part leaves over.
    const int integerDigits = int(std::floor(std::log10(std::fabs(value)))) + 1;
    const int decimals = std::max(0, 15 - integerDigits);
    QString text = QString::number(value, 'f', decimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    if (text == QLatin1String("-0"))
        return QStringLiteral("0");
    text.replace(QLatin1Char('.'), decimalSeparator);
    return text;
}

std::optional<double> AcceptFloatText(const QString& text, QChar decimalSeparator, const TFloatRange& range) {
    const auto value = ParseFloatText(text, decimalSeparator);
    if (!value || !range.Contains(*value))
        return std::nullopt;
    return value;
}
