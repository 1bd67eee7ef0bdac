// tintaro-cli info FILE: the loaded project as one JSON object. The document's keys of "Doc",
// then "pages" (each page's keys and its three element lists, each element with its stored keys),
// "links" (each a list of [page index, frame index] pairs), "pictures" (the picture store's entries
// in stored order with "DataSize" instead of the file bytes), "Feiertage" and "Geburtstage".
//
// The keys shown are the ones the loaded document writes: the document is saved into memory and
// read back item by item, so the listing always follows the file format.
//
// info --canonical FILE: the same with every "RefIndex" replaced by "Picture" (the SHA-256 of the
// picture's bytes, null for none, "missing" for a reference to no stored picture), the pictures
// sorted by it, each with its stored "RefCount" and "Uses" (the elements naming it), and the links
// sorted. Two projects that show the same thing give the same text, whatever their reference
// numbers and the order of their picture store.
#include "cli/CliCommand.h"
#include "cli/CliKalenderData.h"
#include "document/uDataFile.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QHash>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

enum class ValueType { Integer, Float, Bool, String };

// The stored type of every key of the document file; a key not listed is judged by its size.
ValueType typeOfKey(const QString& key, qint32 size) {
    static const QHash<QString, ValueType> types = [] {
        QHash<QString, ValueType> t;
        for (const char* k : {"DocVersion",
                              "PrintPaperSize",
                              "ScreenMode",
                              "DocType",
                              "PrintSetting",
                              "LayoutStil",
                              "Seitenausrichtung",
                              "Seitenfarbe",
                              "CustomLayoutStil",
                              "RefIndex",
                              "BorderColor",
                              "HorzAlign",
                              "VertAlign",
                              "Age",
                              "FileSize",
                              "RefCount",
                              "PicWidth",
                              "PicHeight",
                              "PageIndex",
                              "PicIndex",
                              "Anzahl"})
            t.insert(QString::fromLatin1(k), ValueType::Integer);
        for (const char* k :
             {"PageWidth", "PageHeight", "Stegbreite", "Umschlagbreite", "PrintPaperWidth",
              "PrintPaperHeight", "ScreenQuerformatWinkel", "CenterX", "CenterY", "Width", "Height", "Angle",
              "Zoom", "OffsetX", "OffsetY", "BorderWidth", "FileDate", "Datum"})
            t.insert(QString::fromLatin1(k), ValueType::Float);
        for (const char* k : {"PicturesHaveShadows", "PrintBorderless", "PictureShadowsAllowed",
                              "NurEinLayoutStil", "CanZoomAndTrack", "HasShadow", "IsLeftPage"})
            t.insert(QString::fromLatin1(k), ValueType::Bool);
        for (const char* k : {"PrintPaperName", "PrintPaperType", "Dokumentname", "Layouttypen",
                              "LayoutSubTyp", "Classname", "RTF", "FileName", "Text"})
            t.insert(QString::fromLatin1(k), ValueType::String);
        return t;
    }();
    const auto it = types.constFind(key);
    if (it != types.cend())
        return *it;
    switch (size) {
    case 1:
        return ValueType::Bool;
    case 4:
        return ValueType::Integer;
    case 8:
        return ValueType::Float;
    default:
        return ValueType::String;
    }
}

QString jsonNumber(double value) {
    if (!std::isfinite(value))
        return QStringLiteral("null"); // JSON has no infinities
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

// A JSON object whose members keep the order they were added in.
class JsonObject {
public:
    void add(const QString& name, const QString& json) { members_ << Cli::jsonString(name) + u':' + json; }
    QString text() const { return u'{' + members_.join(u',') + u'}'; }

private:
    QStringList members_;
};

QString jsonArray(const QStringList& items) {
    return u'[' + items.join(u',') + u']';
}

// The items of the saved document, by section in stream order.
class StoredItems {
public:
    explicit StoredItems(TFBDocument& document) : buffer_(&bytes_) {
        buffer_.open(QIODevice::ReadWrite);
        {
            TMemoryDataFile writer(buffer_);
            SaveDocument(document, writer);
        }
        file_ = std::make_unique<TMemoryDataFile>(buffer_);
        file_->BuildCache();
        const auto& items = file_->CacheItems();
        for (size_t i = 0; i < items.size(); ++i)
            bySection_[items[i].Section].append(i);
    }

    // Every key of the section with its value, except the listed ones, in stored order. In the
    // canonical form a "RefIndex" becomes "Picture".
    void addKeys(const QString& section, JsonObject& object, const QStringList& skipped = {}) {
        for (const size_t i : bySection_.value(section)) {
            const TDataFileCacheItem& item = file_->CacheItems()[i];
            if (skipped.contains(item.Key))
                continue;
            if (pictureOf && item.Key == QLatin1String("RefIndex")) {
                object.add(QStringLiteral("Picture"), pictureOf(file_->ReadInteger(section, item.Key, -1)));
                continue;
            }
            object.add(item.Key, value(section, item.Key, item.Size));
        }
    }

    // Set for the canonical form: the "Picture" value of a reference.
    std::function<QString(int)> pictureOf;

    qint32 size(const QString& section, const QString& key) const {
        for (const size_t i : bySection_.value(section))
            if (file_->CacheItems()[i].Key == key)
                return file_->CacheItems()[i].Size;
        return 0;
    }

    int count(const QString& section) {
        return file_->ReadInteger(section, QString::fromLatin1(kAnzahlKey), 0);
    }

    int integer(const QString& section, const QString& key) { return file_->ReadInteger(section, key, -1); }

private:
    QString value(const QString& section, const QString& key, qint32 size) {
        switch (typeOfKey(key, size)) {
        case ValueType::Integer:
            return QString::number(file_->ReadInteger(section, key, 0));
        case ValueType::Float:
            return jsonNumber(file_->ReadFloat(section, key, 0));
        case ValueType::Bool:
            return file_->ReadBool(section, key, false) ? QStringLiteral("true") : QStringLiteral("false");
        case ValueType::String:
            break;
        }
        return Cli::jsonString(file_->ReadString(section, key, QString()));
    }

    QByteArray bytes_;
    QBuffer buffer_;
    std::unique_ptr<TMemoryDataFile> file_;
    QHash<QString, QList<size_t>> bySection_;
};

QString specialDays(const TKalenderTageListe& list) {
    QStringList entries;
    for (int i = 0; i < list.Count(); ++i) {
        JsonObject entry;
        entry.add(QStringLiteral("Datum"), jsonNumber(list.Items(i).Datum));
        entry.add(QStringLiteral("Text"), Cli::jsonString(list.Items(i).Text));
        entries << entry.text();
    }
    return jsonArray(entries);
}

QString elements(StoredItems& items, const TFBElementList& list, const QString& pageSection,
                 QString (*sectionOf)(const QString&, int)) {
    QStringList result;
    for (int j = 0; j < list.Count(); ++j) {
        JsonObject element;
        items.addKeys(sectionOf(pageSection, j), element);
        if (const auto* calendar = dynamic_cast<const TFBKalenderElement*>(list.Items(j))) {
            for (const auto& [name, json] : Cli::kalenderDataMembers(*calendar->Data))
                element.add(name, json);
        }
        result << element.text();
    }
    return jsonArray(result);
}

// The canonical names of the pictures: the SHA-256 of their bytes, and how many elements name each.
struct TPictureNames {
    explicit TPictureNames(const TFBDocument& document) {
        const TBildmanager& store = TBildmanager::Instance();
        for (int k = 0; k < store.Count(); ++k) {
            const TBildManagerListItem& item = store.Item(k);
            hashes.insert(item.RefIndex,
                          QString::fromLatin1(
                              QCryptographicHash::hash(item.FileData, QCryptographicHash::Sha256).toHex()));
        }
        for (const TFBPage* page : document.Pages) {
            for (const TFBElement* e : page->Pictures)
                ++uses[static_cast<const TFBPictureElement*>(e)->RefIndex];
            for (const TFBElement* e : page->Sizeables)
                if (const auto* clipart = dynamic_cast<const TFBClipartElement*>(e))
                    ++uses[clipart->RefIndex];
        }
    }
    QString json(int ref) const {
        if (ref == -1)
            return QStringLiteral("null");
        const auto it = hashes.constFind(ref);
        return it == hashes.cend() ? QStringLiteral("\"missing\"") : Cli::jsonString(*it);
    }

    QHash<int, QString> hashes;
    QHash<int, int> uses;
};

int runInfo(const QStringList& args, QTextStream& out) {
    QStringList rest = args;
    const bool canonical = rest.removeAll(QStringLiteral("--canonical")) > 0;
    if (rest.size() != 1)
        throw CliUsageError(QStringLiteral("usage: tintaro-cli info [--canonical] FILE"));
    const QString& path = rest.first();
    Cli::requireFile(path);

    TFBDocument document;
    LoadDocumentFromFile(document, path);
    StoredItems items(document);
    const TPictureNames names(document);
    if (canonical)
        items.pictureOf = [&names](int ref) { return names.json(ref); };

    JsonObject root;
    items.addKeys(DocSection::Doc(), root);

    QStringList pages;
    for (int i = 0; i < document.Pages.Count(); ++i) {
        const TFBPage& page = *document.Pages.Items(i);
        const QString section = DocSection::Page(i);
        JsonObject object;
        items.addKeys(section, object);
        object.add(QStringLiteral("pictures"), elements(items, page.Pictures, section, DocSection::Picture));
        object.add(QStringLiteral("calendars"),
                   elements(items, page.Calendars, section, DocSection::Calendar));
        object.add(QStringLiteral("sizeables"),
                   elements(items, page.Sizeables, section, DocSection::Element));
        pages << object.text();
    }
    root.add(QStringLiteral("pages"), jsonArray(pages));

    QStringList links;
    for (const auto& link : document.PictureLinks) {
        QStringList members;
        for (const TFBPictureElement* frame : link->Members) {
            members << jsonArray({QString::number(frame->Page ? frame->Page->PageIndex() : -1),
                                  QString::number(frame->IndexInList())});
        }
        if (canonical)
            members.sort();
        links << jsonArray(members);
    }
    if (canonical)
        links.sort();
    root.add(QStringLiteral("links"), jsonArray(links));

    QList<std::pair<QString, QString>> pictures; // sort key, JSON
    const int pictureCount = items.count(DocSection::BildManager());
    for (int k = 0; k < pictureCount; ++k) {
        const QString section = DocSection::BildManager() + QStringLiteral("/Bild") + QString::number(k);
        JsonObject picture;
        QString key;
        if (canonical) {
            // The name first, so that the listing sorts by it.
            const int ref = items.integer(section, QStringLiteral("RefIndex"));
            key = names.json(ref);
            picture.add(QStringLiteral("Picture"), key);
            items.addKeys(section, picture, {QStringLiteral("File"), QStringLiteral("RefIndex")});
            picture.add(QStringLiteral("Uses"), QString::number(names.uses.value(ref)));
        } else {
            items.addKeys(section, picture, {QStringLiteral("File")});
        }
        picture.add(QStringLiteral("DataSize"), QString::number(items.size(section, QStringLiteral("File"))));
        pictures.append({key, picture.text()});
    }
    if (canonical)
        std::sort(pictures.begin(), pictures.end());
    QStringList pictureTexts;
    for (const auto& picture : pictures)
        pictureTexts << picture.second;
    root.add(QStringLiteral("pictures"), jsonArray(pictureTexts));

    root.add(QStringLiteral("Feiertage"), specialDays(document.Feiertage));
    root.add(QStringLiteral("Geburtstage"), specialDays(document.Geburtstage));

    out << root.text() << '\n';
    return 0;
}

CliRegistration reg{CliCommand{QStringLiteral("info"), QStringLiteral("info [--canonical] FILE"),
                               QStringLiteral("show a project file's document as JSON"), runInfo}};

} // namespace
