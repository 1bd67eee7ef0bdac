#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Every 8-bit string the program stores (names and texts in project files, language and ini texts)
// is in the Windows-1252 code page, called "ANSI" throughout the code. These helpers convert at the
// boundary between stored bytes and the Unicode text the program works with.
//
// The five positions that Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) decode to
// the C1 control characters of the same value and encode back to them, so any byte string survives
// a round trip. Characters outside the code page encode as '?' (a surrogate pair as one '?').
namespace Codepage {

QString fromAnsi(QByteArrayView bytes);
QByteArray toAnsi(QStringView text);

// The text as an 8-bit program holds it: characters outside the code page become '?'.
QString ansiRoundTrip(QStringView text);

// The Unicode character of one byte.
char16_t unicodeOf(unsigned char byte);
// The byte of one Unicode character, or -1 when the code page has no such character.
int ansiOf(char16_t ch);

} // namespace Codepage
