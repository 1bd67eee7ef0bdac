// Opens arbitrary bytes as a container and reads every item: through the index and through the
// linear search, which must agree, and through every typed reader.
#include "document/uDataFile.h"
#include "platform/Exception.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

namespace {

void readTyped(TCustomDataFile& file, const QString& section, const QString& key) {
    TFont font;
    file.ReadFont(section, key, font);
    (void)file.ReadString(section, key, QString());
    (void)file.ReadInteger(section, key, 0);
    (void)file.ReadFloat(section, key, 0.0);
    (void)file.ReadDateTime(section, key, QDateTime());
    (void)file.ReadBool(section, key, false);
    QBuffer target;
    (void)file.ReadStream(section, key, target);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer indexedStream, scanStream;
    indexedStream.setData(bytes);
    scanStream.setData(bytes);
    indexedStream.open(QIODevice::ReadOnly);
    scanStream.open(QIODevice::ReadOnly);
    TMemoryDataFile indexed(indexedStream);
    TMemoryDataFile scan(scanStream);

    try {
        indexed.BuildCache();
    } catch (const Exception&) {
        // A damaged marker: the linear search may find items before it, or raise the same error.
        try {
            QByteArray buffer;
            scan.ReadBuffer(QStringLiteral("Doc"), QStringLiteral("DocVersion"), buffer);
            readTyped(scan, QStringLiteral("Doc"), QStringLiteral("Font"));
        } catch (const Exception&) {
        }
        return 0;
    }

    // The index holds the items up to the first damaged one; both searches must agree on each.
    int lookups = 0;
    for (const TDataFileCacheItem& item : indexed.CacheItems()) {
        if (++lookups > 256)
            break;
        // Upper-casing may change a name beyond case ("ß" becomes "SS"); both searches must then
        // still agree, and the item's own names must always be found (a duplicate finds an earlier
        // item, whose size may differ).
        for (const QString& section : {item.Section, item.Section.toUpper()}) {
            QByteArray viaIndex, viaScan;
            const qint32 a = indexed.ReadBuffer(section, item.Key, viaIndex);
            const qint32 b = scan.ReadBuffer(section, item.Key.toLower(), viaScan);
            if (a != b || viaIndex != viaScan || viaIndex.size() > bytes.size())
                std::abort();
            if (section == item.Section && a < 0)
                std::abort();
        }
        readTyped(indexed, item.Section, item.Key);
    }
    QByteArray missing;
    if (indexed.ReadBuffer(QStringLiteral("\x01missing"), QString(), missing) != -1)
        std::abort();
    if (indexedStream.data() != bytes)
        std::abort(); // reading never changes the stream
    return 0;
}
