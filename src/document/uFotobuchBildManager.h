#pragma once

#include "platform/uImaging.h"

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class TCustomDataFile;
class TPendingPreview;
class TWorkQueue;

// One picture of the open document: the encoded file bytes (what a project stores), the decoded
// picture while it is recently used, a small preview and the number of uses.
class TBildManagerListItem {
public:
    int RefCount = 0;
    int RefIndex = -1;
    // Source path; empty for generated or turned pictures; "Clone ", "A ", "B ", "C " mark edited copies.
    QString FileName;
    int Age = 0;
    int FileSize = 0;
    // Days since 30 December 1899, the fraction being the time of day.
    double FileDate = 0.0;
    int PicHeight = 0;
    int PicWidth = 0;
    QByteArray FileData;
    // Not decoded when empty; a decoded picture that failed is a null image (size 0 x 0).
    std::optional<QImage> Picture;
    std::optional<QImage> Preview;
    bool PreviewIsSmall = false;
    // A small preview being made by a worker thread from a copy of FileData; the entry takes the
    // result when the preview is first asked for.
    std::shared_ptr<TPendingPreview> PendingPreview;

    // The same picture: name, age, date, size and the encoded bytes agree. Two copies of a photo
    // turned differently can agree in everything but their bytes.
    bool Equals(const TBildManagerListItem& other) const;
};

// The filters run dialogs, which only the user interface can show; it installs a host here.
enum class TPictureFilterKind { HKIG, HSL, RedEye, SWCol };

class TPictureFilterHost {
public:
    virtual ~TPictureFilterHost() = default;
    // Shows the filter dialog on `picture`, displayed turned by `angle` degrees. Returns the edited
    // picture (in the picture's own orientation) when the user confirms, nothing otherwise.
    virtual std::optional<QImage> RunFilter(TPictureFilterKind kind, const QImage& picture, int angle) = 0;
};

// The one store of all pictures of the open document. Elements hold only a reference (`RefIndex`).
class TBildmanager {
public:
    static TBildmanager& Instance();

    TBildmanager(const TBildmanager&) = delete;
    TBildmanager& operator=(const TBildmanager&) = delete;

    // Frees all entries (called by the document reset).
    void Clear();
    // An entry with exactly this file name gains a use; otherwise a new entry is made from the file.
    int AddFromFile(const QString& path);
    // A new entry owning the bitmap (colour areas).
    int AddBitmap(const QImage& bitmap);
    void AddRef(int ref);
    void Release(int ref);

    // The full decoded picture; a null image when the reference names no entry.
    QImage GetBitmap(int ref);
    // A preview whose longer side is 192 (or 128) pixels; a null image when there is none.
    QImage GetPreview(int ref);
    // Copy on write: the reference itself when it is used once, otherwise a private clone.
    int MakeUnique(int ref);
    // direction 0: a quarter turn clockwise, 1: a half turn, 2: a quarter turn counter-clockwise.
    void Rotate(int ref, int direction);

    // Shows the filter dialog on the picture; when the user confirms, the entry takes the edited
    // picture and its name gains the filter's mark. angle: how the picture is shown turned.
    bool RunFilter(TPictureFilterKind kind, int ref, int angle);
    bool FilterHKIG(int ref, int angle) { return RunFilter(TPictureFilterKind::HKIG, ref, angle); }
    bool FilterHSL(int ref, int angle) { return RunFilter(TPictureFilterKind::HSL, ref, angle); }
    bool FilterRedEye(int ref, int angle) { return RunFilter(TPictureFilterKind::RedEye, ref, angle); }
    bool FilterSWCol(int ref, int angle) { return RunFilter(TPictureFilterKind::SWCol, ref, angle); }
    // The host is not owned; nullptr removes it (the filters then report "not confirmed").
    void SetFilterHost(TPictureFilterHost* host) { filterHost_ = host; }

    // The whole store in list order: "Anzahl" and each entry's keys in section + "/Bild" + k;
    // with progress texts unless a copy is taken in the background.
    void Save(TCustomDataFile& file, const QString& section, bool showProgress = true) const;
    // Appends the stored entries with their references and use counts as stored. A JPEG is only
    // measured from its header; its pixels are decoded on first use and its small preview is made
    // by worker threads meanwhile. Other pictures are decoded at once.
    void Load(TCustomDataFile& file, const QString& section);
    // One entry with all its keys (undo records); nothing for a reference that names no entry.
    void SaveEntry(TCustomDataFile& file, const QString& section, int ref) const;
    // Reads an entry written by SaveEntry. An equal existing entry is returned without a new use;
    // otherwise the entry is appended with a new reference and no use (the caller adds its use).
    // -1 when the section holds no picture.
    int AddForRestore(TCustomDataFile& file, const QString& section);
    // One entry without "RefCount" and "RefIndex" (clipboard, drag and drop).
    void SaveTransfer(TCustomDataFile& file, const QString& section, int ref) const;
    // Reads a transfer entry: an equal existing entry gains a use and is returned; otherwise the
    // entry is appended with a new reference and one use. -1 when the section holds no picture.
    int LoadTransfer(TCustomDataFile& file, const QString& section);

    int NextRefIndex() const;
    int Count() const { return static_cast<int>(Entries.size()); }
    // The entry at a position of the most-recently-used order (0 = front).
    const TBildManagerListItem& Item(int position) const;
    // The entry for a reference, or nullptr.
    const TBildManagerListItem* Find(int ref) const;
    int UseCount(int ref) const;

    // Frees decoded pictures beyond `MaxDecoded` and lowers the limit while memory is short.
    void Trim();
    // After a decode ran out of memory: keeps fewer pictures decoded and gives the system a moment.
    void FreeMemory();
    int MaxDecoded = 10;

    // The size a picture of `size` pixels is scaled to when it is decoded; nothing when it fits.
    static std::optional<QSize> ReducedSize(QSize size);

    // Bytes of available and total physical memory; tests replace the probe.
    using MemoryProbe = std::function<qint64(bool total)>;
    void SetMemoryProbe(MemoryProbe probe);
    // The decoder of encoded pictures; tests replace it to simulate failures. nullptr restores it.
    using Decoder = std::function<Imaging::TDecodeResult(const QByteArray&, const Imaging::TDecodeOptions&)>;
    void SetDecoder(Decoder decoder);

    std::vector<std::unique_ptr<TBildManagerListItem>> Entries;

private:
    TBildmanager();
    ~TBildmanager();

    TBildManagerListItem* entry(int ref) const;
    int positionOf(int ref) const;
    const TBildManagerListItem* findEqual(const TBildManagerListItem& item) const;
    void moveToFront(int position);
    void decode(TBildManagerListItem& item);
    // After the keys were read: measures a JPEG from its header, decodes everything else.
    void prepareStored(TBildManagerListItem& item);
    void reencode(TBildManagerListItem& item);
    void makePreview(TBildManagerListItem& item);
    void queuePreview(TBildManagerListItem& item);
    // A read entry: an equal existing one is returned instead, otherwise it is appended with a new
    // reference. With addUse the returned entry gains a use; without, a new entry starts unused.
    int adopt(std::unique_ptr<TBildManagerListItem> owned, bool addUse);
    void freeDecodedFrom(int position);
    void removeAt(int position);

    MemoryProbe memoryProbe_;
    Decoder decoder_;
    TPictureFilterHost* filterHost_ = nullptr;
    std::unique_ptr<TWorkQueue> workers_;
};

// The current time as days since 30 December 1899 (the stored date-time form).
double CurrentDateTimeValue();
double DateTimeValue(const QDateTime& time);
