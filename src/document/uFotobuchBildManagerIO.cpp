// The picture store in a container: "Anzahl" and one section per entry holding its keys and the
// encoded picture file; single entries for undo records and for the transfer form.
#include "document/uFotobuchBildManager.h"

#include "document/uDataFile.h"
#include "document/uFotobuchDocumentIO.h"
#include "i18n/ulocalize.h"
#include "platform/uGuiThread.h"
#include "platform/uInfoausgabe.h"

#include <algorithm>

namespace {

QString entrySection(const QString& section, int index) {
    return section + QStringLiteral("/Bild") + QString::number(index);
}

// The transfer form leaves out the use count and the reference: they belong to the sending store.
enum class TKeys { All, Transfer };

void writeKeys(TCustomDataFile& file, const QString& e, const TBildManagerListItem& item, TKeys keys) {
    file.WriteString(e, QStringLiteral("FileName"), item.FileName);
    file.WriteInteger(e, QStringLiteral("Age"), item.Age);
    file.WriteInteger(e, QStringLiteral("FileSize"), item.FileSize);
    if (keys == TKeys::All)
        file.WriteInteger(e, QStringLiteral("RefCount"), item.RefCount);
    file.WriteFloat(e, QStringLiteral("FileDate"), item.FileDate);
    if (keys == TKeys::All)
        file.WriteInteger(e, QStringLiteral("RefIndex"), item.RefIndex);
    file.WriteInteger(e, QStringLiteral("PicWidth"), item.PicWidth);
    file.WriteInteger(e, QStringLiteral("PicHeight"), item.PicHeight);
    if (!item.FileData.isEmpty())
        file.WriteBuffer(e, QStringLiteral("File"), item.FileData);
}

void readKeys(TCustomDataFile& file, const QString& e, TBildManagerListItem& item, TKeys keys) {
    item.FileName = file.ReadString(e, QStringLiteral("FileName"), QString());
    item.Age = file.ReadInteger(e, QStringLiteral("Age"), 0);
    item.FileSize = file.ReadInteger(e, QStringLiteral("FileSize"), 0);
    item.RefCount = keys == TKeys::All ? file.ReadInteger(e, QStringLiteral("RefCount"), 0) : 1;
    item.FileDate = file.ReadFloat(e, QStringLiteral("FileDate"), CurrentDateTimeValue());
    item.RefIndex = keys == TKeys::All ? file.ReadInteger(e, QStringLiteral("RefIndex"), 0) : -1;
    item.PicWidth = file.ReadInteger(e, QStringLiteral("PicWidth"), 0);
    item.PicHeight = file.ReadInteger(e, QStringLiteral("PicHeight"), 0);
    QByteArray data;
    if (file.ReadBuffer(e, QStringLiteral("File"), data) > 0)
        item.FileData = data;
}

bool hasPictureKeys(TCustomDataFile& file, const QString& section) {
    return file.FindItem(section, QStringLiteral("FileName")) ||
           file.FindItem(section, QStringLiteral("File"));
}

} // namespace

void TBildmanager::Save(TCustomDataFile& file, const QString& section, bool showProgress) const {
    GuiThread::Check("TBildmanager::Save");
    // The progress window lets the window repaint, and drawing a picture moves it to the front of
    // the list: the order is taken once, before the first progress text.
    std::vector<const TBildManagerListItem*> order;
    order.reserve(Entries.size());
    for (const auto& entry : Entries)
        order.push_back(entry.get());
    file.WriteInteger(section, QString::fromLatin1(kAnzahlKey), static_cast<qint32>(order.size()));
    for (size_t k = 0; k < order.size(); ++k) {
        if (showProgress)
            InfoAusgabe().InfoFmt(Translate(QStringLiteral("Bild %d wird gespeichert")),
                                  static_cast<int>(k) + 1);
        writeKeys(file, entrySection(section, static_cast<int>(k)), *order[k], TKeys::All);
    }
}

void TBildmanager::Load(TCustomDataFile& file, const QString& section) {
    GuiThread::Check("TBildmanager::Load");
    const int count = ReadCount(file, section, 0);
    // Repaints during the progress texts may reorder the list; the loaded entries are kept by address.
    std::vector<TBildManagerListItem*> loaded;
    for (int k = 0; k < count; ++k) {
        InfoAusgabe().InfoFmt(Translate(QStringLiteral("Bild %d wird geladen")), k + 1);
        auto owned = std::make_unique<TBildManagerListItem>();
        TBildManagerListItem& item = *owned;
        Entries.push_back(std::move(owned));
        loaded.push_back(&item);
        readKeys(file, entrySection(section, k), item, TKeys::All);
        prepareStored(item);
        Trim();
        // The workers make its small preview while the next pictures are read.
        queuePreview(item);
    }
    // Pictures decoded while loading and freed again by a later trim need theirs too. Only
    // entries still in the list are looked at.
    for (const auto& item : Entries)
        if (std::find(loaded.begin(), loaded.end(), item.get()) != loaded.end())
            queuePreview(*item);
}

void TBildmanager::SaveEntry(TCustomDataFile& file, const QString& section, int ref) const {
    GuiThread::Check("TBildmanager::SaveEntry");
    if (const TBildManagerListItem* item = entry(ref))
        writeKeys(file, section, *item, TKeys::All);
}

int TBildmanager::adopt(std::unique_ptr<TBildManagerListItem> owned, bool addUse) {
    prepareStored(*owned);
    if (const TBildManagerListItem* equal = findEqual(*owned)) {
        if (addUse)
            AddRef(equal->RefIndex);
        return equal->RefIndex;
    }
    owned->RefIndex = NextRefIndex();
    owned->RefCount = addUse ? 1 : 0;
    queuePreview(*owned);
    Entries.push_back(std::move(owned));
    return Entries.back()->RefIndex;
}

int TBildmanager::AddForRestore(TCustomDataFile& file, const QString& section) {
    GuiThread::Check("TBildmanager::AddForRestore");
    // A missing section gives no picture rather than an empty entry.
    if (!hasPictureKeys(file, section))
        return -1;
    auto owned = std::make_unique<TBildManagerListItem>();
    readKeys(file, section, *owned, TKeys::All);
    return adopt(std::move(owned), false);
}

void TBildmanager::SaveTransfer(TCustomDataFile& file, const QString& section, int ref) const {
    GuiThread::Check("TBildmanager::SaveTransfer");
    if (const TBildManagerListItem* item = entry(ref))
        writeKeys(file, section, *item, TKeys::Transfer);
}

int TBildmanager::LoadTransfer(TCustomDataFile& file, const QString& section) {
    GuiThread::Check("TBildmanager::LoadTransfer");
    // A frame without picture wrote none of the picture keys.
    if (!hasPictureKeys(file, section))
        return -1;
    auto owned = std::make_unique<TBildManagerListItem>();
    readKeys(file, section, *owned, TKeys::Transfer);
    return adopt(std::move(owned), true);
}
