#pragma once

#include <QLocale>
#include <QString>

#include <optional>

// The bounds a number field keeps its value in (both included).
struct TFloatRange {
    double Min = 0.0;
    double Max = 0.0;

    bool Contains(double value) const { return value >= Min && value <= Max; }
};

// The locale of the user interface language (the localizer's language index): its decimal
// separator is the one number fields show and read.
QLocale LanguageLocale();

// A number as a user types it: an optional sign, digits and at most one decimal separator, which
// may be the language's own or a point. Nothing for anything else (empty text, letters, grouping,
// exponents, a lone sign or separator).
std::optional<double> ParseFloatText(const QString& text, QChar decimalSeparator);

// Whether text may still become a number while the user types it ("", "-", "3,", ",5").
bool IsFloatTextPrefix(const QString& text, QChar decimalSeparator);

// The number with up to 15 significant digits, no exponent, no trailing zeros, with the given
// decimal separator ("2,5", "-0,125", "1234567,89012346").
QString FormatFloatText(double value, QChar decimalSeparator);

// A typed number inside the range; nothing for text that is no number or lies outside.
std::optional<double> AcceptFloatText(const QString& text, QChar decimalSeparator, const TFloatRange& range);
