#include "document/uDataFile.h"

#include "platform/Exception.h"
#include "platform/SoftAssert.h"
#include "platform/uCodepage.h"
#include "platform/uMemoryStatus.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr char kMagic[16] = {'V', 'X', ' ', 'D', 'a', 't', 'a', 'F', 'i', 'l', 'e', 0, 0, 0, 0, 0};
constexpr qint32 kVersion = 1;
constexpr qint32 kItemMarker = 1;

const QString kInvalidFormat = QStringLiteral("Invalid file format.");
const QString kReadOnlyMessage = QStringLiteral("Die Datei ist schreibgeschützt");

// Stored names end at their first zero byte.
QString nameFromField(const char* field, int fieldSize) {
    const void* zero = std::memchr(field, 0, size_t(fieldSize));
    const qsizetype length = zero ? static_cast<const char*>(zero) - field : fieldSize;
    return Codepage::fromAnsi(QByteArrayView(field, length));
}

// Names compare case-insensitively; a requested name is first reduced to what the code page can
// store, so a name finds the item it was written under.
QString foldName(const QString& name) {
    const bool storable = std::all_of(name.cbegin(), name.cend(), [](QChar ch) {
        return ch.unicode() < 0x80 || (ch.unicode() >= 0xA0 && ch.unicode() <= 0xFF);
    });
    return (storable ? name : Codepage::ansiRoundTrip(name)).toCaseFolded();
}

QByteArray fieldBytes(const QString& name, int fieldSize, const char* what) {
    QByteArray bytes = Codepage::toAnsi(name);
    if (bytes.size() >= fieldSize) {
        throw Exception(QStringLiteral("Der %1 \"%2\" ist länger als %3 Zeichen")
                            .arg(QString::fromLatin1(what), name)
                            .arg(fieldSize - 1));
    }
    return bytes;
}

// Puts the name into its header field (which is zeroed) as Windows-1252. Plain ASCII names, which
// are nearly all, go in without a conversion buffer.
void putField(char* field, const QString& name, int fieldSize, const char* what) {
    const qsizetype length = name.size();
    const QChar* chars = name.constData();
    bool ascii = length < fieldSize;
    for (qsizetype i = 0; ascii && i < length; ++i) {
        const char16_t ch = chars[i].unicode();
        ascii = ch < 0x80;
        field[i] = char(ch);
    }
    if (ascii)
        return;
    const QByteArray bytes = fieldBytes(name, fieldSize, what);
    std::memset(field, 0, size_t(fieldSize));
    std::memcpy(field, bytes.constData(), size_t(bytes.size()));
}

// Delphi-style date-times cover the years 1 to 9999.
constexpr double kMinDays = -693593.0;
constexpr double kMaxDays = 2958466.0;
const QDate kDayZero(1899, 12, 30);
constexpr qint64 kMsecsPerDay = 86400000;

} // namespace

// ---------------------------------------------------------------------------------------------
// TCustomDataFile

TCustomDataFile::TCustomDataFile(QIODevice* stream, bool readOnly) : ReadOnly(readOnly), Stream(stream) {}

TCustomDataFile::~TCustomDataFile() = default;

void TCustomDataFile::writeFileHeader() {
    char header[kHeaderSize];
    std::memcpy(header, kMagic, sizeof kMagic);
    qToLittleEndian<qint32>(kVersion, header + 16);
    writeRaw(header, kHeaderSize);
}

bool TCustomDataFile::HasValidHeader() const {
    if (Stream->size() < kHeaderSize || !Stream->seek(0))
        return false;
    char header[kHeaderSize];
    if (Stream->read(header, kHeaderSize) != kHeaderSize)
        return false;
    return std::memcmp(header, kMagic, sizeof kMagic) == 0 &&
           qFromLittleEndian<qint32>(header + 16) == kVersion;
}

void TCustomDataFile::seekTo(qint64 position) {
    // Never seek past the end: a writable memory stream would grow with zeros.
    if (position > Stream->size() || !Stream->seek(position))
        throw Exception(QStringLiteral("Lesefehler: %1").arg(Stream->errorString()));
}

// Reads item headers at rising positions through a window of the stream, so that walking the
// items costs one read per window rather than a seek and a read per item.
class TCustomDataFile::HeaderWindow {
public:
    HeaderWindow(TCustomDataFile& file, qint64 streamSize) : file_(file), streamSize_(streamSize) {}

    // The header at position; false when fewer than 168 bytes are left.
    bool read(qint64 position, ItemHeader& header) {
        if (position < 0 || position > streamSize_ - kItemHeaderSize)
            return false;
        if (windowStart_ < 0 || position < windowStart_ ||
            position + kItemHeaderSize > windowStart_ + window_.size()) {
            const qint64 length = std::min<qint64>(kWindowSize, streamSize_ - position);
            file_.seekTo(position);
            window_.resize(qsizetype(length));
            const qint64 got = file_.Stream->read(window_.data(), length);
            window_.resize(qsizetype(std::max<qint64>(got, 0)));
            windowStart_ = position;
            if (got < kItemHeaderSize)
                return false;
        }
        parseItemHeader(window_.constData() + (position - windowStart_), header);
        return true;
    }

private:
    static constexpr qint64 kWindowSize = 64 * 1024;
    TCustomDataFile& file_;
    qint64 streamSize_;
    QByteArray window_;
    qint64 windowStart_ = -1;
};

void TCustomDataFile::parseItemHeader(const char* raw, ItemHeader& header) {
    header.marker = qFromLittleEndian<qint32>(raw);
    header.section = nameFromField(raw + 4, kSectionFieldSize);
    header.key = nameFromField(raw + 4 + kSectionFieldSize, kKeyFieldSize);
    header.size = qFromLittleEndian<qint32>(raw + 4 + kSectionFieldSize + kKeyFieldSize);
}

void TCustomDataFile::BuildCache() {
    Cache.clear();
    firstIndex_.clear();
    HeaderWindow window(*this, Stream->size());
    qint64 position = kHeaderSize;
    ItemHeader header;
    while (window.read(position, header)) {
        if (header.marker != kItemMarker) {
            Cache.clear();
            firstIndex_.clear();
            throw Exception(kInvalidFormat);
        }
        // A negative size would lead back into earlier items: the readable items end here.
        if (header.size < 0)
            break;
        const NameKey name{header.section.toCaseFolded(), header.key.toCaseFolded()};
        if (!firstIndex_.contains(name))
            firstIndex_.insert(name, qsizetype(Cache.size()));
        Cache.push_back({position, std::move(header.section), std::move(header.key), header.size});
        position += kItemHeaderSize + qint64(header.size);
    }
}

bool TCustomDataFile::FindItem(const QString& section, const QString& key) {
    if (!locate(section, key))
        return false;
    seekTo(foundDataPosition_);
    return true;
}

bool TCustomDataFile::FindItemByScan(const QString& section, const QString& key) {
    if (!scanFor(section, key))
        return false;
    seekTo(foundDataPosition_);
    return true;
}

bool TCustomDataFile::locate(const QString& section, const QString& key) {
    if (!Cache.empty())
        return findByIndex(section, key);
    return scanFor(section, key);
}

void TCustomDataFile::noteFound(qint64 itemPosition, qint32 size, qint64 streamSize) {
    foundDataPosition_ = itemPosition + kItemHeaderSize;
    foundAvailable_ = std::clamp<qint64>(streamSize - foundDataPosition_, 0, std::max<qint32>(size, 0));
}

bool TCustomDataFile::findByIndex(const QString& section, const QString& key) {
    const auto it = firstIndex_.constFind(NameKey{foldName(section), foldName(key)});
    if (it == firstIndex_.cend())
        return false;
    // The header was read when indexing and items are only appended, so its bytes are known;
    // only the stream must still hold it.
    const TDataFileCacheItem& item = Cache[size_t(*it)];
    const qint64 streamSize = Stream->size();
    if (item.Position > streamSize - kItemHeaderSize)
        return false;
    noteFound(item.Position, item.Size, streamSize);
    return true;
}

bool TCustomDataFile::scanFor(const QString& section, const QString& key) {
    const QString wantedSection = foldName(section);
    const QString wantedKey = foldName(key);
    const qint64 streamSize = Stream->size();
    HeaderWindow window(*this, streamSize);
    qint64 position = kHeaderSize;
    ItemHeader header;
    while (window.read(position, header)) {
        if (header.marker != kItemMarker)
            throw Exception(kInvalidFormat);
        if (header.size < 0)
            return false;
        if (header.section.toCaseFolded() == wantedSection && header.key.toCaseFolded() == wantedKey) {
            noteFound(position, header.size, streamSize);
            return true;
        }
        position += kItemHeaderSize + qint64(header.size);
    }
    return false;
}

qint64 TCustomDataFile::readAt(qint64 position, char* target, qint64 count) {
    // Files are unbuffered; small values that lie next to each other (a loader reads them in
    // stream order) come from one window instead of a seek and a read each.
    constexpr qint64 kReadWindowSize = 4096;
    if (useReadWindow_ && count <= kReadWindowSize) {
        const qint64 windowEnd = readWindowStart_ + readWindow_.size();
        if (readWindowStart_ < 0 || position < readWindowStart_ || position + count > windowEnd) {
            seekTo(position);
            readWindow_.resize(qsizetype(kReadWindowSize));
            const qint64 got = Stream->read(readWindow_.data(), kReadWindowSize);
            readWindow_.resize(qsizetype(std::max<qint64>(got, 0)));
            readWindowStart_ = position;
        }
        const qint64 available =
            std::clamp<qint64>(readWindowStart_ + readWindow_.size() - position, 0, count);
        std::memcpy(target, readWindow_.constData() + (position - readWindowStart_), size_t(available));
        return available;
    }
    seekTo(position);
    return std::max<qint64>(Stream->read(target, count), 0);
}

qint32 TCustomDataFile::readItem(const QString& section, const QString& key, QByteArray& buffer,
                                 qint64 maxBytes) {
    if (!locate(section, key))
        return -1;
    // Never more than the stream holds, whatever the header claims.
    const qint64 wanted = std::min(foundAvailable_, maxBytes);
    buffer.resize(qsizetype(wanted));
    MemoryStatus::PrepareForWriting(buffer.data(), wanted);
    const qint64 got = wanted > 0 ? readAt(foundDataPosition_, buffer.data(), wanted) : 0;
    buffer.resize(qsizetype(got));
    return qint32(buffer.size());
}

qint32 TCustomDataFile::ReadBuffer(const QString& section, const QString& key, QByteArray& buffer) {
    return readItem(section, key, buffer, std::numeric_limits<qint64>::max());
}

qint32 TCustomDataFile::ReadStream(const QString& section, const QString& key, QBuffer& target) {
    QByteArray data;
    const qint32 count = ReadBuffer(section, key, data);
    if (count < 0)
        return -1;
    // setData refuses an open buffer: reopen it in its own mode, minus anything that would empty it.
    const QIODevice::OpenMode mode = target.isOpen()
                                         ? target.openMode() & ~(QIODevice::Truncate | QIODevice::Append)
                                         : QIODevice::OpenMode(QIODevice::ReadWrite);
    target.close();
    target.setData(data);
    target.open(mode);
    target.seek(0);
    return count;
}

void TCustomDataFile::writeRaw(const char* data, qint64 size) {
    qint64 done = 0;
    while (done < size) {
        const qint64 written = Stream->write(data + done, size - done);
        if (written <= 0)
            throw Exception(QStringLiteral("Schreibfehler: %1").arg(Stream->errorString()));
        done += written;
    }
}

void TCustomDataFile::prepareItem(const QString& section, const QString& key, qint32 size, char* header) {
    if (ReadOnly)
        throw Exception(kReadOnlyMessage);
    std::memset(header, 0, kItemHeaderSize);
    qToLittleEndian<qint32>(kItemMarker, header);
    putField(header + 4, section, kSectionFieldSize, "Abschnittsname");
    putField(header + 4 + kSectionFieldSize, key, kKeyFieldSize, "Schlüsselname");
    qToLittleEndian<qint32>(size, header + 4 + kSectionFieldSize + kKeyFieldSize);

    const qint64 end = Stream->size();
    if (Stream->pos() != end && !Stream->seek(end))
        throw Exception(QStringLiteral("Schreibfehler: %1").arg(Stream->errorString()));
}

namespace {
// Small items go out in one write; the file is unbuffered so that lookups read only what they need.
constexpr qint32 kJoinLimit = 16 * 1024;
} // namespace

qint32 TCustomDataFile::WriteBuffer(const QString& section, const QString& key, qint32 size,
                                    const void* data) {
    if (ReadOnly)
        throw Exception(kReadOnlyMessage);
    TT_ASSERT(size >= 0 && (size == 0 || data), return 0);
    char joined[kItemHeaderSize + kJoinLimit];
    prepareItem(section, key, size, joined);
    if (size <= kJoinLimit) {
        if (size > 0)
            std::memcpy(joined + kItemHeaderSize, data, size_t(size));
        writeRaw(joined, kItemHeaderSize + size);
    } else {
        writeRaw(joined, kItemHeaderSize);
        writeRaw(static_cast<const char*>(data), size);
    }
    return size;
}

qint32 TCustomDataFile::WriteBuffer(const QString& section, const QString& key, const QByteArray& data) {
    TT_ASSERT(data.size() <= std::numeric_limits<qint32>::max(), return 0);
    const auto size = qint32(data.size());
    if (size <= kJoinLimit)
        return WriteBuffer(section, key, size, data.constData());
    char header[kItemHeaderSize];
    prepareItem(section, key, size, header);
    writeRaw(header, kItemHeaderSize);
    writeItemData(data);
    return size;
}

void TCustomDataFile::writeItemData(const QByteArray& data) {
    writeRaw(data.constData(), data.size());
}

void TCustomDataFile::WriteStream(const QString& section, const QString& key, QIODevice& source) {
    if (ReadOnly)
        throw Exception(kReadOnlyMessage);
    const qint64 size = source.size();
    if (size > std::numeric_limits<qint32>::max())
        throw Exception(QStringLiteral("Der Datenblock \"%1/%2\" ist zu groß").arg(section, key));
    if (!source.seek(0))
        throw Exception(QStringLiteral("Lesefehler: %1").arg(source.errorString()));
    const QByteArray data = source.read(size);
    if (data.size() != size)
        throw Exception(QStringLiteral("Lesefehler: %1").arg(source.errorString()));
    WriteBuffer(section, key, data);
}

// ---------------------------------------------------------------------------------------------
// Typed values

void TCustomDataFile::WriteString(const QString& section, const QString& key, const QString& value) {
    QByteArray bytes = Codepage::toAnsi(value);
    const qsizetype zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    bytes.append('\0');
    WriteBuffer(section, key, bytes);
}

QString TCustomDataFile::ReadString(const QString& section, const QString& key, const QString& def) {
    QByteArray data;
    if (ReadBuffer(section, key, data) < 0)
        return def;
    const qsizetype zero = data.indexOf('\0');
    return Codepage::fromAnsi(zero >= 0 ? QByteArrayView(data).first(zero) : QByteArrayView(data));
}

template <typename T>
void TCustomDataFile::writeValue(const QString& section, const QString& key, T value) {
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    WriteBuffer(section, key, qint32(sizeof(T)), bytes);
}

template <typename T>
std::optional<T> TCustomDataFile::readValue(const QString& section, const QString& key) {
    QByteArray data;
    if (readItem(section, key, data, qint64(sizeof(T))) < qint32(sizeof(T)))
        return std::nullopt;
    return qFromLittleEndian<T>(data.constData());
}

void TCustomDataFile::WriteInteger(const QString& section, const QString& key, qint32 value) {
    writeValue(section, key, value);
}

qint32 TCustomDataFile::ReadInteger(const QString& section, const QString& key, qint32 def) {
    return readValue<qint32>(section, key).value_or(def);
}

void TCustomDataFile::WriteFloat(const QString& section, const QString& key, double value) {
    writeValue(section, key, value);
}

double TCustomDataFile::ReadFloat(const QString& section, const QString& key, double def) {
    return readValue<double>(section, key).value_or(def);
}

void TCustomDataFile::WriteDateTime(const QString& section, const QString& key, const QDateTime& value) {
    WriteFloat(section, key, DateTimeToDays(value));
}

QDateTime TCustomDataFile::ReadDateTime(const QString& section, const QString& key, const QDateTime& def) {
    const std::optional<double> days = readValue<double>(section, key);
    if (!days)
        return def;
    const QDateTime value = DaysToDateTime(*days);
    return value.isValid() ? value : def;
}

void TCustomDataFile::WriteBool(const QString& section, const QString& key, bool value) {
    writeValue<quint8>(section, key, value ? 1 : 0);
}

bool TCustomDataFile::ReadBool(const QString& section, const QString& key, bool def) {
    const std::optional<quint8> byte = readValue<quint8>(section, key);
    return byte ? *byte != 0 : def;
}

void TCustomDataFile::WriteFont(const QString& section, const QString& key, const TFont& font) {
    QByteArray name = Codepage::toAnsi(font.Name());
    const qsizetype zero = name.indexOf('\0');
    if (zero >= 0)
        name.truncate(zero);
    QByteArray record(9, '\0');
    record[0] = char(font.Charset());
    qToLittleEndian<qint32>(font.Color(), record.data() + 1);
    record[5] = char(font.Pitch());
    const int size = std::clamp(font.Size(), int(std::numeric_limits<qint16>::min()),
                                int(std::numeric_limits<qint16>::max()));
    qToLittleEndian<qint16>(qint16(size), record.data() + 6);
    record[8] = char(font.Style());
    record.append(name);
    record.append('\0');
    WriteBuffer(section, key, record);
}

void TCustomDataFile::ReadFont(const QString& section, const QString& key, TFont& font) {
    QByteArray data;
    if (ReadBuffer(section, key, data) <= 9)
        return;
    const auto byteAt = [&](int i) { return static_cast<quint8>(data[i]); };
    const quint8 pitch = byteAt(5);
    QByteArrayView name = QByteArrayView(data).sliced(9);
    const qsizetype zero = name.indexOf('\0');
    if (zero >= 0)
        name = name.first(zero);

    font.BeginUpdate();
    font.SetCharset(byteAt(0));
    font.SetColor(qFromLittleEndian<qint32>(data.constData() + 1));
    font.SetPitch(pitch <= 2 ? TFontPitch(pitch) : TFontPitch::Default);
    font.SetSize(qFromLittleEndian<qint16>(data.constData() + 6));
    font.SetStyle(TFontStyles(byteAt(8) & kAllFontStyles));
    font.SetName(Codepage::fromAnsi(name));
    font.EndUpdate();
}

double DateTimeToDays(const QDateTime& value) {
    if (!value.isValid())
        return 0.0;
    const double days = double(kDayZero.daysTo(value.date()));
    const double time = double(value.time().msecsSinceStartOfDay()) / double(kMsecsPerDay);
    // Before the day zero the time of day still counts forward: -1.25 is 29 December 1899, 6:00.
    return days < 0 ? days - time : days + time;
}

QDateTime DaysToDateTime(double days) {
    if (!std::isfinite(days) || days < kMinDays || days >= kMaxDays)
        return {};
    const double whole = std::trunc(days);
    qint64 msecs = std::llround(std::fabs(days - whole) * double(kMsecsPerDay));
    msecs = std::min(msecs, kMsecsPerDay - 1);
    return QDateTime(kDayZero.addDays(qint64(whole)), QTime::fromMSecsSinceStartOfDay(int(msecs)));
}

// ---------------------------------------------------------------------------------------------
// TDataFile

std::unique_ptr<QFile> TDataFile::openFile(const QString& fileName, OpenMode mode, bool& readOnly) {
    auto file = std::make_unique<QFile>(fileName);
    const QFileInfo info(fileName);
    const auto fail = [&] {
        return Exception(QStringLiteral("Die Datei \"%1\" kann nicht geöffnet werden: %2")
                             .arg(fileName, file->errorString()));
    };
    if (!info.exists()) {
        readOnly = false;
        if (!file->open(QIODevice::ReadWrite | QIODevice::Unbuffered))
            throw fail();
        return file;
    }
    // A file without write permission for its owner counts as marked read-only; one that cannot
    // be opened for writing for other reasons is read as well.
    readOnly = mode == OpenMode::ReadOnly || !info.permissions().testFlag(QFileDevice::WriteOwner);
    if (!readOnly && !file->open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        readOnly = true;
    if (readOnly && !file->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw fail();
    return file;
}

// The file is opened unbuffered: indexing reads its own windows, and a lookup then reads exactly
// the item's bytes instead of refilling a read-ahead buffer after every seek.
TDataFile::TDataFile(const QString& fileName, OpenMode mode)
    : TCustomDataFile(nullptr, false), fileName_(fileName) {
    file_ = openFile(fileName, mode, ReadOnly);
    Stream = file_.get();
    enableReadWindow();
    // A new file, or an empty one left by an interrupted save, gets its header; anything else is
    // indexed as it stands.
    if (file_->size() == 0 && !ReadOnly)
        writeFileHeader();
    else
        BuildCache();
}

TDataFile::~TDataFile() {
    if (file_)
        file_->close();
}

// ---------------------------------------------------------------------------------------------
// TMemoryDataFile

TMemoryDataFile::TMemoryDataFile(QBuffer& stream) : TCustomDataFile(&stream, false) {
    if (!stream.isOpen())
        stream.open(QIODevice::ReadWrite);
    ReadOnly = !stream.isWritable();
    if (stream.size() == 0 && !ReadOnly)
        writeFileHeader();
}
