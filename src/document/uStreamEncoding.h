#pragma once

#include <QString>

#include <cstdint>

class QIODevice;

// The small binary form of named colours and page templates in drag and drop: little-endian
// throughout; a string is an int32 byte count followed by that many 8-bit characters (no
// terminator, nothing at all for an empty string). Readers raise Exception when the stream ends
// early or a length is impossible, so a short or damaged payload is rejected instead of read
// as garbage; writers raise Exception when the device refuses the bytes.

void StreamWriteByte(QIODevice& stream, std::uint8_t value);
void StreamWriteInt32(QIODevice& stream, std::int32_t value);
void StreamWriteSingle(QIODevice& stream, float value);
// The text is stored in Windows-1252; characters it lacks become "?".
void StreamWriteString(QIODevice& stream, const QString& text);

std::uint8_t StreamReadByte(QIODevice& stream);
std::int32_t StreamReadInt32(QIODevice& stream);
float StreamReadSingle(QIODevice& stream);
QString StreamReadString(QIODevice& stream);
