// The picture store in a container: "Anzahl" and one section per entry holding its keys and the
// encoded picture file.
#include "document/uFotobuchBildManager.h"

#include "app/uInfoausgabe.h"
#include "document/uDataFile.h"
#include "document/uFotobuchDocumentIO.h"
#include "i18n/ulocalize.h"

#include <QBuffer>

namespace {

QString entrySection(const QString& section, int index) {
    return section + QStringLiteral("/Bild") + QString::number(index);
}

} // namespace

void TBildmanager::Save(TCustomDataFile& file, const QString& section) const {
    // The progress window lets the window repaint, and drawing a picture moves it to the front of
    // the list: the order is taken once, before the first progress text.
    std::vector<const TBildManagerListItem*> order;
    order.reserve(Entries.size());
    for (const auto& entry : Entries)
        order.push_back(entry.get());
    file.WriteInteger(section, QString::fromLatin1(kAnzahlKey), static_cast<qint32>(order.size()));
    for (size_t k = 0; k < order.size(); ++k) {
        InfoAusgabe().InfoFmt(Translate(QStringLiteral("Bild %d wird gespeichert")), static_cast<int>(k) + 1);
        const TBildManagerListItem& item = *order[k];
        const QString e = entrySection(section, static_cast<int>(k));
        file.WriteString(e, QStringLiteral("FileName"), item.FileName);
        file.WriteInteger(e, QStringLiteral("Age"), item.Age);
        file.WriteInteger(e, QStringLiteral("FileSize"), item.FileSize);
        file.WriteInteger(e, QStringLiteral("RefCount"), item.RefCount);
        file.WriteFloat(e, QStringLiteral("FileDate"), item.FileDate);
        file.WriteInteger(e, QStringLiteral("RefIndex"), item.RefIndex);
        file.WriteInteger(e, QStringLiteral("PicWidth"), item.PicWidth);
        file.WriteInteger(e, QStringLiteral("PicHeight"), item.PicHeight);
        if (!item.FileData.isEmpty())
            file.WriteBuffer(e, QStringLiteral("File"), item.FileData);
    }
}

void TBildmanager::Load(TCustomDataFile& file, const QString& section) {
    const int count = ReadCount(file, section, 0);
    for (int k = 0; k < count; ++k) {
        InfoAusgabe().InfoFmt(Translate(QStringLiteral("Bild %d wird geladen")), k + 1);
        Entries.push_back(std::make_unique<TBildManagerListItem>());
        TBildManagerListItem& item = *Entries.back();
        const QString e = entrySection(section, k);
        item.FileName = file.ReadString(e, QStringLiteral("FileName"), QString());
        item.Age = file.ReadInteger(e, QStringLiteral("Age"), 0);
        item.FileSize = file.ReadInteger(e, QStringLiteral("FileSize"), 0);
        item.RefCount = file.ReadInteger(e, QStringLiteral("RefCount"), 0);
        item.FileDate = file.ReadFloat(e, QStringLiteral("FileDate"), CurrentDateTimeValue());
        item.RefIndex = file.ReadInteger(e, QStringLiteral("RefIndex"), 0);
        item.PicWidth = file.ReadInteger(e, QStringLiteral("PicWidth"), 0);
        item.PicHeight = file.ReadInteger(e, QStringLiteral("PicHeight"), 0);
        QByteArray data;
        if (file.ReadBuffer(e, QStringLiteral("File"), data) > 0) {
            item.FileData = data;
            decode(item);
        }
        Trim();
    }
}
