#pragma once

#include "platform/uFont.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QIODevice>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class QBuffer;
class QFile;

// The container of every persistent or transferable piece of data: a 20-byte header ("VX DataFile",
// five zero bytes, int32 version 1) followed by items, each a 168-byte header (int32 marker 1,
// 128-byte section name, 32-byte key name, int32 data size) and the data. Names are Windows-1252,
// zero-terminated and compared case-insensitively. Items are only appended; looking up a name that
// was written twice finds the first item.
//
// A damaged stream never makes reading unsafe: an item whose marker is not 1 raises "Invalid file
// format."; an item with a negative size ends the readable items; an item that claims more bytes
// than the stream holds gives the bytes that are there.

// One entry of the index of an opened container.
struct TDataFileCacheItem {
    qint64 Position = 0; // stream offset of the item's header
    QString Section;
    QString Key;
    qint32 Size = 0; // data size the header claims
};

class TCustomDataFile {
public:
    static constexpr int kHeaderSize = 20;
    static constexpr int kItemHeaderSize = 168;
    static constexpr int kSectionFieldSize = 128;
    static constexpr int kKeyFieldSize = 32;

    virtual ~TCustomDataFile();
    TCustomDataFile(const TCustomDataFile&) = delete;
    TCustomDataFile& operator=(const TCustomDataFile&) = delete;

    bool IsReadOnly() const { return ReadOnly; }
    QIODevice* stream() const { return Stream; }
    // The index built by BuildCache, in stream order; empty when the container was not indexed.
    const std::vector<TDataFileCacheItem>& CacheItems() const { return Cache; }
    // True when the stream starts with the magic and version 1.
    bool HasValidHeader() const;

    // --- Items ---
    // True when an item matches; the stream then stands at the item's first data byte.
    bool FindItem(const QString& section, const QString& key);
    // -1 if no item matches; otherwise Buffer receives the item's data (as much as the stream
    // holds) and the number of bytes read is returned.
    qint32 ReadBuffer(const QString& section, const QString& key, QByteArray& buffer);
    // -1 if no item matches (Target unchanged); otherwise Target is emptied, receives the data
    // and is positioned at 0; returns the number of bytes copied.
    qint32 ReadStream(const QString& section, const QString& key, QBuffer& target);
    // Appends one item; returns the number of data bytes written.
    qint32 WriteBuffer(const QString& section, const QString& key, qint32 size, const void* data);
    qint32 WriteBuffer(const QString& section, const QString& key, const QByteArray& data);
    // Appends one item whose data is the whole Source stream, from its start.
    void WriteStream(const QString& section, const QString& key, QIODevice& source);
    // Indexes all items of the stream; later lookups go through the index.
    void BuildCache();

    // --- Typed values; every reader gives its default when the item is missing or too short ---
    void WriteString(const QString& section, const QString& key, const QString& value);
    QString ReadString(const QString& section, const QString& key, const QString& def);
    void WriteInteger(const QString& section, const QString& key, qint32 value);
    qint32 ReadInteger(const QString& section, const QString& key, qint32 def);
    void WriteFloat(const QString& section, const QString& key, double value);
    double ReadFloat(const QString& section, const QString& key, double def);
    void WriteDateTime(const QString& section, const QString& key, const QDateTime& value);
    QDateTime ReadDateTime(const QString& section, const QString& key, const QDateTime& def);
    void WriteBool(const QString& section, const QString& key, bool value);
    bool ReadBool(const QString& section, const QString& key, bool def);
    void WriteFont(const QString& section, const QString& key, const TFont& font);
    // Leaves the font unchanged unless a record longer than 9 bytes is found; one change
    // notification for the whole record.
    void ReadFont(const QString& section, const QString& key, TFont& font);

    // The same first-match search without the index, as it runs on a container that was never
    // indexed. Kept public so the index can be checked and measured against it.
    bool FindItemByScan(const QString& section, const QString& key);

protected:
    // The stream must be open; it is not owned.
    TCustomDataFile(QIODevice* stream, bool readOnly);
    // Writes the 20-byte header at the current position.
    void writeFileHeader();
    // For unbuffered file streams: small reads share a window of recently read bytes.
    void enableReadWindow() { useReadWindow_ = true; }
    // Appends the data block of a large item after its header. A container that keeps its items
    // in memory may keep the block itself (it is implicitly shared) instead of copying its bytes.
    virtual void writeItemData(const QByteArray& data);
    // The 168-byte header of an item about to be appended; the stream then stands at its end.
    void prepareItem(const QString& section, const QString& key, qint32 size, char* header);
    void writeRaw(const char* data, qint64 size);

    bool ReadOnly = false;
    QIODevice* Stream = nullptr;
    std::vector<TDataFileCacheItem> Cache;

private:
    struct ItemHeader {
        qint32 marker = 0;
        QString section;
        QString key;
        qint32 size = 0;
    };
    class HeaderWindow;
    static void parseItemHeader(const char* raw, ItemHeader& header);
    // Notes where the found item's data starts and how much of it the stream holds.
    void noteFound(qint64 itemPosition, qint32 size, qint64 streamSize);
    // FindItem without moving the stream.
    bool locate(const QString& section, const QString& key);
    bool findByIndex(const QString& section, const QString& key);
    bool scanFor(const QString& section, const QString& key);
    // Reads up to count bytes at position; returns how many were read.
    qint64 readAt(qint64 position, char* target, qint64 count);
    // Reads at most maxBytes of the item's data; -1 when it is missing.
    qint32 readItem(const QString& section, const QString& key, QByteArray& buffer, qint64 maxBytes);
    // Fixed-size values stored little-endian; nothing when the item is missing or too short.
    template <typename T>
    void writeValue(const QString& section, const QString& key, T value);
    template <typename T>
    std::optional<T> readValue(const QString& section, const QString& key);
    void seekTo(qint64 position);

    // The data of the item last found: where it starts and how many of its bytes the stream holds.
    qint64 foundDataPosition_ = 0;
    qint64 foundAvailable_ = 0;

    // Files only: recently read bytes (stored bytes never change, items are only appended).
    bool useReadWindow_ = false;
    QByteArray readWindow_;
    qint64 readWindowStart_ = -1;

    using NameKey = std::pair<QString, QString>;
    QHash<NameKey, qsizetype> firstIndex_; // folded names -> first cache item with them
};

// A container on a file; it owns the file.
class TDataFile : public TCustomDataFile {
public:
    enum class OpenMode {
        Default,  // an existing file opens for writing unless it is marked read-only
        ReadOnly, // an existing file opens for reading only (inspection tools)
    };

    // Opens an existing file and indexes it, or creates a new one with the header. Raises on a
    // damaged file ("Invalid file format.") or when the file cannot be opened or created.
    explicit TDataFile(const QString& fileName, OpenMode mode = OpenMode::Default);
    ~TDataFile() override;

    const QString& FileName() const { return fileName_; }

private:
    static std::unique_ptr<QFile> openFile(const QString& fileName, OpenMode mode, bool& readOnly);

    QString fileName_;
    std::unique_ptr<QFile> file_;
};

// A container on a caller's memory stream; the stream stays the caller's. On an empty stream the
// header is written at once. A second container on the same stream reads back what the first wrote.
class TMemoryDataFile : public TCustomDataFile {
public:
    explicit TMemoryDataFile(QBuffer& stream);
};

// Date-times as stored: days since 30 December 1899, the fraction being the time of day.
double DateTimeToDays(const QDateTime& value);
QDateTime DaysToDateTime(double days);
