#pragma once

// The picture browser's items: one TPicData per picture file of the folder shown, in the order a
// file manager shows them, and the listing that finds those files. Listing reads names and file
// attributes only; no picture file is opened.

#include <QDateTime>
#include <QImage>
#include <QString>

#include <memory>
#include <vector>

// The folder entry of one picture file.
struct TShellItem {
    QString Name; // the file name for display
    QString Path; // the full path
    bool IsFile = true;
    qint64 Size = 0;
    QDateTime Modified;
};

enum class TThumbState { Pending, Ready, Failed };

struct TPicData {
    int Index = -1;
    // The picture's upright size and bits per pixel, known once its thumbnail was made.
    int PicWidth = 0;
    int PicHeight = 0;
    int PixelFormat = 0;
    TShellItem ShellItem;
    QImage Thumbnail; // null until made, and again after the memory bound let it go
    TThumbState State = TThumbState::Pending;
    // When the thumbnail was last drawn, for letting go of the least recently drawn ones.
    quint64 LastDrawn = 0;
};

// The items of a listing; owns them.
class TPicList {
public:
    int Count() const { return int(items_.size()); }
    TPicData& At(int index) { return *items_[size_t(index)]; }
    const TPicData& At(int index) const { return *items_[size_t(index)]; }
    TPicData& Add(TShellItem item);
    void Clear() { items_.clear(); }

private:
    std::vector<std::unique_ptr<TPicData>> items_;
};

namespace PictureListing {

// A name the browser lists: ".BMP", ".JPG", ".JPEG", ".TIF", ".TIFF", ".GIF" or ".PNG", in any case.
bool IsPictureName(const QString& name);

// The order of file managers in any locale: letters without regard to case, runs of digits by
// their value (IMG_2 before IMG_10).
bool NaturalLess(const QString& a, const QString& b);

struct TListing {
    bool Readable = false; // the folder exists and could be read
    std::vector<TShellItem> Items;
};

// The picture files of `folder`: regular files and links to them, no hidden files, no folders,
// devices, pipes or broken links, in natural order.
TListing List(const QString& folder);

} // namespace PictureListing
