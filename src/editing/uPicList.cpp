#include "editing/uPicList.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

TPicData& TPicList::Add(TShellItem item) {
    auto data = std::make_unique<TPicData>();
    data->Index = Count();
    data->ShellItem = std::move(item);
    items_.push_back(std::move(data));
    return *items_.back();
}

namespace PictureListing {
namespace {

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The run of digits or of other characters starting at `at`.
QStringView chunkAt(const QString& text, qsizetype at) {
    const bool digits = isDigit(text[at]);
    qsizetype end = at;
    while (end < text.size() && isDigit(text[end]) == digits)
        ++end;
    return QStringView(text).mid(at, end - at);
}

// Digit runs compare by value: without leading zeros, the longer is larger, else digit by digit.
int compareNumbers(QStringView a, QStringView b) {
    auto stripped = [](QStringView s) {
        qsizetype i = 0;
        while (i + 1 < s.size() && s[i] == QLatin1Char('0'))
            ++i;
        return s.mid(i);
    };
    const QStringView x = stripped(a);
    const QStringView y = stripped(b);
    if (x.size() != y.size())
        return x.size() < y.size() ? -1 : 1;
    return x.compare(y);
}

const QCollator& collator() {
    thread_local const QCollator c = [] {
        QCollator made;
        made.setCaseSensitivity(Qt::CaseInsensitive);
        return made;
    }();
    return c;
}

int naturalCompare(const QString& a, const QString& b) {
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const QStringView x = chunkAt(a, i);
        const QStringView y = chunkAt(b, j);
        const bool xDigits = isDigit(x[0]);
        const bool yDigits = isDigit(y[0]);
        int order;
        if (xDigits && yDigits)
            order = compareNumbers(x, y);
        else if (xDigits != yDigits)
            order = xDigits ? -1 : 1; // numbers before letters, as file managers sort them
        else {
            order = collator().compare(x, y);
            if (order == 0)
                order = x.compare(y, Qt::CaseInsensitive);
        }
        if (order != 0)
            return order;
        i += x.size();
        j += y.size();
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    // Equal but for case or leading zeros: a fixed order all the same.
    return a.compare(b);
}

} // namespace

bool IsPictureName(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return false;
    const QString ext = name.mid(dot).toUpper();
    for (const char* known : {".BMP", ".JPG", ".JPEG", ".TIF", ".TIFF", ".GIF", ".PNG"})
        if (ext == QLatin1String(known))
            return true;
    return false;
}

bool NaturalLess(const QString& a, const QString& b) {
    return naturalCompare(a, b) < 0;
}

TListing List(const QString& folder) {
    TListing listing;
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir() || !info.isReadable() || !info.isExecutable())
        return listing;
    QDir dir(folder);
    // Files without "System": no pipes, devices, sockets or broken links; links to files stay.
    dir.setFilter(QDir::Files | QDir::NoDotAndDotDot);
    dir.setSorting(QDir::Unsorted);
    listing.Readable = dir.isReadable();
    const QFileInfoList entries = dir.entryInfoList();
    for (const QFileInfo& entry : entries) {
        const QString name = entry.fileName();
        if (name.startsWith(QLatin1Char('.')) || !IsPictureName(name) || !entry.isFile())
            continue;
        TShellItem item;
        item.Name = name;
        item.Path = entry.absoluteFilePath();
        item.Size = entry.size();
        item.Modified = entry.lastModified();
        listing.Items.push_back(std::move(item));
    }
    std::sort(listing.Items.begin(), listing.Items.end(),
              [](const TShellItem& a, const TShellItem& b) { return NaturalLess(a.Name, b.Name); });
    return listing;
}

} // namespace PictureListing
