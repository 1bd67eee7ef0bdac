#include "document/uStreamEncoding.h"

#include "platform/Exception.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

QByteArray written(const std::function<void(QIODevice&)>& write) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    write(buffer);
    return buffer.data();
}

} // namespace

TEST(StreamEncoding, ScalarsAreLittleEndian) {
    const QByteArray bytes = written([](QIODevice& s) {
        StreamWriteByte(s, 0xAB);
        StreamWriteInt32(s, -2);
        StreamWriteInt32(s, 0x01020304);
        StreamWriteSingle(s, 1.0f);
    });
    EXPECT_EQ(bytes.toHex(' '), QByteArray("ab fe ff ff ff 04 03 02 01 00 00 80 3f"));

    QBuffer in;
    in.setData(bytes);
    in.open(QIODevice::ReadOnly);
    EXPECT_EQ(StreamReadByte(in), 0xAB);
    EXPECT_EQ(StreamReadInt32(in), -2);
    EXPECT_EQ(StreamReadInt32(in), 0x01020304);
    EXPECT_EQ(StreamReadSingle(in), 1.0f);
    EXPECT_TRUE(in.atEnd());
}

TEST(StreamEncoding, StringsAreCountedEightBitText) {
    const QByteArray bytes = written([](QIODevice& s) {
        StreamWriteString(s, QStringLiteral("Grün"));
        StreamWriteString(s, QString());
        StreamWriteString(s, QStringLiteral("a\u4E2Db"));
        StreamWriteString(s, QStringLiteral("5 €"));
    });
    EXPECT_EQ(bytes, QByteArray::fromHex("04000000 4772fc6e 00000000 03000000 613f62 03000000 352080"));

    QBuffer in;
    in.setData(bytes);
    in.open(QIODevice::ReadOnly);
    EXPECT_EQ(StreamReadString(in), QStringLiteral("Grün"));
    EXPECT_EQ(StreamReadString(in), QString());
    EXPECT_EQ(StreamReadString(in), QStringLiteral("a?b"));
    EXPECT_EQ(StreamReadString(in), QStringLiteral("5 €"));
}

TEST(StreamEncoding, ShortOrDamagedDataIsRejected) {
    const auto reading = [](const QByteArray& data, const std::function<void(QIODevice&)>& read) {
        QBuffer in;
        in.setData(data);
        in.open(QIODevice::ReadOnly);
        read(in);
    };
    EXPECT_THROW(reading(QByteArray(), [](QIODevice& s) { StreamReadByte(s); }), Exception);
    EXPECT_THROW(reading(QByteArray::fromHex("010203"), [](QIODevice& s) { StreamReadInt32(s); }), Exception);
    EXPECT_THROW(reading(QByteArray::fromHex("0000"), [](QIODevice& s) { StreamReadSingle(s); }), Exception);
    // A length longer than the rest of the data, and a negative one.
    EXPECT_THROW(reading(QByteArray::fromHex("05000000616263"), [](QIODevice& s) { StreamReadString(s); }),
                 Exception);
    EXPECT_THROW(reading(QByteArray::fromHex("ffffffff"), [](QIODevice& s) { StreamReadString(s); }),
                 Exception);
    EXPECT_THROW(reading(QByteArray::fromHex("ffffff7f"), [](QIODevice& s) { StreamReadString(s); }),
                 Exception);
}

TEST(StreamEncoding, WriteToClosedDeviceRaises) {
    QBuffer closed;
    EXPECT_THROW(StreamWriteInt32(closed, 1), Exception);
}
