#pragma once

// A document as the lines of its stored form, independent of reference numbers, of the order of
// the picture store and of the order of the panorama links: every "RefIndex" is replaced by the
// SHA-256 of the picture's bytes, each picture is listed once with its keys, its stored use count
// and the number of elements that name it. Two documents that show the same thing give the same
// lines; comparing them shows what differs.

#include "document/uDataFile.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QHash>
#include <QMap>
#include <QStringList>

#include <algorithm>

namespace TestSupport {

inline QString pictureName(int ref) {
    if (ref == -1)
        return QStringLiteral("none");
    const TBildManagerListItem* entry = TBildmanager::Instance().Find(ref);
    if (!entry)
        return QStringLiteral("missing");
    return QString::fromLatin1(QCryptographicHash::hash(entry->FileData, QCryptographicHash::Sha256).toHex());
}

inline QStringList canonicalForm(TFBDocument& document) {
    const bool modified = document.Modified;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    TMemoryDataFile file(buffer);
    SaveDocument(document, file);
    document.Modified = modified;
    file.BuildCache();

    QStringList lines;
    QMap<QString, QStringList> links;
    for (const TDataFileCacheItem& item : file.CacheItems()) {
        if (item.Section.startsWith(QLatin1String("BildManager")))
            continue;
        QString value;
        if (item.Key == QLatin1String("RefIndex")) {
            value = pictureName(file.ReadInteger(item.Section, item.Key, -1));
        } else {
            QByteArray data;
            file.ReadBuffer(item.Section, item.Key, data);
            value = QString::fromLatin1(data.toHex());
        }
        const QString line = item.Section + u'|' + item.Key + u'=' + value;
        const QString linkList = DocSection::PictureLinks() + QStringLiteral("/Link");
        if (item.Section.startsWith(linkList)) {
            // One group per link, compared without the link's number.
            const QString rest = item.Section.mid(linkList.size());
            const qsizetype slash = rest.indexOf(u'/');
            const QString number = slash < 0 ? rest : rest.left(slash);
            links[number] << (slash < 0 ? QString() : rest.mid(slash)) + u'|' + item.Key + u'=' + value;
            continue;
        }
        lines << line;
    }
    QStringList linkLines;
    for (const QStringList& link : links)
        linkLines << QStringLiteral("link ") + link.join(u' ');
    linkLines.sort();
    lines << linkLines;

    QHash<int, int> uses;
    for (const TFBPage* page : document.Pages) {
        for (const TFBElement* e : page->Pictures)
            ++uses[static_cast<const TFBPictureElement*>(e)->RefIndex];
        for (const TFBElement* e : page->Sizeables)
            if (const auto* clipart = dynamic_cast<const TFBClipartElement*>(e))
                ++uses[clipart->RefIndex];
    }
    QStringList pictureLines;
    const TBildmanager& store = TBildmanager::Instance();
    for (int k = 0; k < store.Count(); ++k) {
        const TBildManagerListItem& entry = store.Item(k);
        pictureLines << QStringLiteral("picture %1 name=%2 age=%3 size=%4 date=%5 %6x%7 refcount=%8 uses=%9")
                            .arg(pictureName(entry.RefIndex), entry.FileName)
                            .arg(entry.Age)
                            .arg(entry.FileSize)
                            .arg(entry.FileDate, 0, 'g', 17)
                            .arg(entry.PicWidth)
                            .arg(entry.PicHeight)
                            .arg(entry.RefCount)
                            .arg(uses.value(entry.RefIndex));
    }
    pictureLines.sort();
    lines << pictureLines;
    return lines;
}

} // namespace TestSupport
