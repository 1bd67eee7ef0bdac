#pragma once

#include <QString>
#include <QStringList>

class TLocalizer;

// The checks of the shipped language tables against each other and against the registered
// German texts: every table has the German table's sections and keys and no others, no key twice
// in a section, no empty value, the format specifiers of the German value in the same order, only
// characters of Windows-1252, and a value equal to the German one only where the table allows it
// with a line ";=key". The German values equal the registered ones; with allRegistered, every key
// of the German table must be registered (forms included) and every registered key present.
struct TTableCheckResult {
    QStringList Problems; // one line each
    int Tables = 0;
    int Sections = 0; // of the German table
    int Entries = 0;  // of the German table
};

TTableCheckResult CheckLanguageTables(const TLocalizer& localizer, bool allRegistered);

// The format specifiers of a text in order: "%d", "%.1f", "%1", "%s", ... ("%%" is none).
QStringList FormatSpecifiers(const QString& text);
