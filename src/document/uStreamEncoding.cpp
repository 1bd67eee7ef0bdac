#include "document/uStreamEncoding.h"

#include "platform/Exception.h"
#include "platform/uCodepage.h"

#include <QIODevice>

#include <bit>

namespace {

void writeBytes(QIODevice& stream, const char* data, qint64 size) {
    if (size > 0 && stream.write(data, size) != size)
        throw Exception(QStringLiteral("Stream-Schreibfehler: %1").arg(stream.errorString()));
}

void readBytes(QIODevice& stream, char* data, qint64 size) {
    if (size > 0 && stream.read(data, size) != size)
        throw Exception(QStringLiteral("Stream-Lesefehler: unerwartetes Ende der Daten"));
}

void writeLe32(QIODevice& stream, std::uint32_t value) {
    const char bytes[4] = {char(value & 0xFF), char((value >> 8) & 0xFF), char((value >> 16) & 0xFF),
                           char((value >> 24) & 0xFF)};
    writeBytes(stream, bytes, 4);
}

std::uint32_t readLe32(QIODevice& stream) {
    unsigned char bytes[4];
    readBytes(stream, reinterpret_cast<char*>(bytes), 4);
    return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
           std::uint32_t(bytes[3]) << 24;
}

} // namespace

void StreamWriteByte(QIODevice& stream, std::uint8_t value) {
    const char byte = char(value);
    writeBytes(stream, &byte, 1);
}

void StreamWriteInt32(QIODevice& stream, std::int32_t value) {
    writeLe32(stream, std::uint32_t(value));
}

void StreamWriteSingle(QIODevice& stream, float value) {
    writeLe32(stream, std::bit_cast<std::uint32_t>(value));
}

void StreamWriteString(QIODevice& stream, const QString& text) {
    const QByteArray bytes = Codepage::toAnsi(text);
    StreamWriteInt32(stream, std::int32_t(bytes.size()));
    writeBytes(stream, bytes.constData(), bytes.size());
}

std::uint8_t StreamReadByte(QIODevice& stream) {
    char byte = 0;
    readBytes(stream, &byte, 1);
    return std::uint8_t(byte);
}

std::int32_t StreamReadInt32(QIODevice& stream) {
    return std::int32_t(readLe32(stream));
}

float StreamReadSingle(QIODevice& stream) {
    return std::bit_cast<float>(readLe32(stream));
}

QString StreamReadString(QIODevice& stream) {
    const std::int32_t length = StreamReadInt32(stream);
    // A length beyond what is left can only come from damaged data; checking it first also keeps a
    // bogus length from allocating gigabytes.
    const qint64 left = stream.isSequential() ? stream.bytesAvailable() : stream.size() - stream.pos();
    if (length < 0 || length > left)
        throw Exception(QStringLiteral("Stream-Lesefehler: ungültige Textlänge %1").arg(length));
    QByteArray bytes(length, Qt::Uninitialized);
    readBytes(stream, bytes.data(), length);
    return Codepage::fromAnsi(bytes);
}
