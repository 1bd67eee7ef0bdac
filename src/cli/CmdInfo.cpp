// tintaro-cli info FILE: the loaded project as one JSON object. The document's keys of "Doc",
// then "pages" (each page's keys and its three element lists, each element with its stored keys),
// "links" (each a list of [page index, frame index] pairs), "pictures" (the picture store's entries
// in stored order with "DataSize" instead of the file bytes), "Feiertage" and "Geburtstage".
//
// The keys shown are the ones the loaded document writes: the document is saved into memory and
// read back item by item, so the listing always follows the file format.
#include "cli/CliCommand.h"
#include "cli/CliKalenderData.h"
#include "document/uDataFile.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"

#include <QBuffer>
#include <QHash>
#include <QLocale>

#include <cmath>

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

    // Every key of the section with its value, except the listed ones, in stored order.
    void addKeys(const QString& section, JsonObject& object, const QStringList& skipped = {}) {
        for (const size_t i : bySection_.value(section)) {
            const TDataFileCacheItem& item = file_->CacheItems()[i];
            if (skipped.contains(item.Key))
                continue;
            object.add(item.Key, value(section, item.Key, item.Size));
        }
    }

    qint32 size(const QString& section, const QString& key) const {
        for (const size_t i : bySection_.value(section))
            if (file_->CacheItems()[i].Key == key)
                return file_->CacheItems()[i].Size;
        return 0;
    }

    int count(const QString& section) {
        return file_->ReadInteger(section, QString::fromLatin1(kAnzahlKey), 0);
    }

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

int runInfo(const QStringList& args, QTextStream& out) {
    if (args.size() != 1)
        throw CliUsageError(QStringLiteral("usage: tintaro-cli info FILE"));
    const QString& path = args.first();
    Cli::requireFile(path);

    TFBDocument document;
    LoadDocumentFromFile(document, path);
    StoredItems items(document);

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
        links << jsonArray(members);
    }
    root.add(QStringLiteral("links"), jsonArray(links));

    QStringList pictures;
    const int pictureCount = items.count(DocSection::BildManager());
    for (int k = 0; k < pictureCount; ++k) {
        const QString section = DocSection::BildManager() + QStringLiteral("/Bild") + QString::number(k);
        JsonObject picture;
        items.addKeys(section, picture, {QStringLiteral("File")});
        picture.add(QStringLiteral("DataSize"), QString::number(items.size(section, QStringLiteral("File"))));
        pictures << picture.text();
    }
    root.add(QStringLiteral("pictures"), jsonArray(pictures));

    root.add(QStringLiteral("Feiertage"), specialDays(document.Feiertage));
    root.add(QStringLiteral("Geburtstage"), specialDays(document.Geburtstage));

    out << root.text() << '\n';
    return 0;
}

CliRegistration reg{CliCommand{QStringLiteral("info"), QStringLiteral("info FILE"),
                               QStringLiteral("show a project file's document as JSON"), runInfo}};

} // namespace
