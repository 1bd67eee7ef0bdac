#include "support/SampleDocument.h"
#include "support/TestSupport.h"

#include "JsonKeyOrder.h"

#include "document/uDataFile.h"
#include "document/uFotobuchDocumentIO.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using TestSupport::readFile;
using TestSupport::runCli;

namespace {

class CliInfo : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("album.fbp"));
        TFBDocument doc;
        SampleDocument::fill(doc, dir.path());
        doc.Feiertage.Add(QStringLiteral("Hl. Abend"), QStringLiteral(", "), 46380);
        SaveDocumentToFile(doc, path);
    }
    QTemporaryDir dir;
    QString path;
};

} // namespace

TEST_F(CliInfo, PrintsTheDocumentWithItsPagesLinksAndPictures) {
    const auto result = runCli({QStringLiteral("info"), path});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(result.out, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << qPrintable(error.errorString());
    const QJsonObject root = json.object();

    const QStringList keys = keysInOrder(result.out);
    ASSERT_EQ(keys.size(), 22 + 5);
    EXPECT_EQ(keys.first(), QStringLiteral("DocVersion"));
    EXPECT_EQ(keys[21], QStringLiteral("NurEinLayoutStil"));
    EXPECT_EQ(keys.mid(22), (QStringList{"pages", "links", "pictures", "Feiertage", "Geburtstage"}));

    EXPECT_EQ(root["DocVersion"].toInt(), 5);
    EXPECT_EQ(root["Dokumentname"].toString(), QStringLiteral("Photobook 8:5 Größe"));
    EXPECT_EQ(root["PageHeight"].toDouble(), 210.25);
    EXPECT_EQ(root["PicturesHaveShadows"], QJsonValue(false));
    EXPECT_EQ(root["PrintBorderless"], QJsonValue(true));
    EXPECT_EQ(root["ScreenMode"].toInt(), 1);
    EXPECT_EQ(root["Layouttypen"].toString(), QStringLiteral("[ltPhotoBook85,ltKalenderA6]"));

    const QJsonArray pages = root["pages"].toArray();
    ASSERT_EQ(pages.size(), 3);
    const QJsonObject page0 = pages[0].toObject();
    EXPECT_EQ(page0["Seitenfarbe"].toInt(), 0x00336699);
    EXPECT_EQ(page0["Seitenausrichtung"].toInt(), 0);
    EXPECT_EQ(page0["CustomLayoutStil"].toInt(), 0);
    const QJsonObject area = page0["pictures"].toArray()[0].toObject();
    EXPECT_EQ(area["Classname"].toString(), QStringLiteral("TFBPictureElement"));
    EXPECT_EQ(area["Angle"].toDouble(), 12.5);
    EXPECT_EQ(area["CanZoomAndTrack"], QJsonValue(false));
    EXPECT_EQ(area["BorderWidth"].toDouble(), 1.25);
    EXPECT_EQ(area["BorderColor"].toInt(), 0x00FF00);
    EXPECT_GE(area["RefIndex"].toInt(), 0);
    const QJsonObject calendar = page0["calendars"].toArray()[0].toObject();
    EXPECT_EQ(calendar["Classname"].toString(), QStringLiteral("TFBKalenderElement"));
    EXPECT_EQ(calendar["Width"].toDouble(), 140.0);
    EXPECT_TRUE(calendar["Monat"].isDouble());
    EXPECT_TRUE(calendar["Jahr"].isDouble());
    EXPECT_TRUE(calendar["Typ"].isDouble());
    EXPECT_EQ(pages[2].toObject()["CustomLayoutStil"].toInt(), 14);

    const QJsonObject text = pages[1].toObject()["sizeables"].toArray()[0].toObject();
    EXPECT_EQ(text["Classname"].toString(), QStringLiteral("TFBTextElement"));
    EXPECT_EQ(text["RTF"].toString(), QStringLiteral("{\\rtf1\\ansi Gr\\'fc\\'dfe aus äöü}"));
    EXPECT_EQ(text["HasShadow"], QJsonValue(true));
    EXPECT_EQ(text["HorzAlign"].toInt(), 1);
    EXPECT_EQ(text["VertAlign"].toInt(), 4);
    const QJsonObject clipart = pages[2].toObject()["sizeables"].toArray()[0].toObject();
    EXPECT_EQ(clipart["Classname"].toString(), QStringLiteral("TFBClipartElement"));
    EXPECT_EQ(keysInOrder(QJsonDocument(clipart).toJson(QJsonDocument::Compact)).size(), 7);

    // Built step by step: nested braces around a QJsonArray read as a copy with some compilers.
    QJsonArray link;
    link.append(QJsonArray{1, 0});
    link.append(QJsonArray{2, 0});
    QJsonArray links;
    links.append(link);
    EXPECT_EQ(root["links"].toArray(), links);

    const QJsonArray pictures = root["pictures"].toArray();
    ASSERT_EQ(pictures.size(), 3);
    for (const QJsonValue& value : pictures) {
        const QJsonObject picture = value.toObject();
        EXPECT_FALSE(picture.contains(QStringLiteral("File")));
        EXPECT_GT(picture["DataSize"].toInt(), 100);
        EXPECT_GT(picture["PicWidth"].toInt(), 0);
        EXPECT_GE(picture["RefCount"].toInt(), 1);
        EXPECT_TRUE(picture["FileName"].isString());
    }
    // The clipart keeps the name of the file it came from.
    bool clipartFound = false;
    for (const QJsonValue& value : pictures)
        clipartFound |= value.toObject()["FileName"].toString().endsWith(QStringLiteral("herz.png"));
    EXPECT_TRUE(clipartFound);
    EXPECT_TRUE(root["Feiertage"].isArray());
    EXPECT_TRUE(root["Geburtstage"].toArray().isEmpty());
}

TEST_F(CliInfo, CalendarSettingsAndSpecialDaysSurviveTheFile) {
    const auto result = runCli({QStringLiteral("info"), path});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    const QJsonObject root = QJsonDocument::fromJson(result.out).object();
    const QJsonObject calendar = root["pages"].toArray()[0].toObject()["calendars"].toArray()[0].toObject();
    EXPECT_EQ(calendar["Monat"].toInt(), 3);
    EXPECT_EQ(calendar["Jahr"].toInt(), 2027);
    const QJsonArray feiertage = root["Feiertage"].toArray();
    ASSERT_EQ(feiertage.size(), 1);
    EXPECT_EQ(feiertage[0].toObject()["Text"].toString(), QStringLiteral("Hl. Abend"));
    EXPECT_EQ(feiertage[0].toObject()["Datum"].toDouble(), 46380.0);
}

TEST_F(CliInfo, AnOldFileShowsTheConvertedDocument) {
    const QString old = dir.filePath(QStringLiteral("alt.fbp"));
    {
        TDataFile file(old);
        file.WriteInteger(QStringLiteral("Doc"), QStringLiteral("DocVersion"), 1);
        file.WriteString(QStringLiteral("Doc"), QStringLiteral("Dokumentname"),
                         QStringLiteral("PocketBooklet"));
    }
    const auto result = runCli({QStringLiteral("info"), old});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    const QJsonObject root = QJsonDocument::fromJson(result.out).object();
    EXPECT_EQ(root["DocVersion"].toInt(), 5);
    EXPECT_EQ(root["PrintSetting"].toInt(), 1);
    EXPECT_EQ(root["PageWidth"].toDouble(), 148.5);
    ASSERT_EQ(root["pages"].toArray().size(), 1);
    EXPECT_TRUE(root["pages"].toArray()[0].toObject()["pictures"].toArray().isEmpty());
    EXPECT_TRUE(root["pictures"].toArray().isEmpty());
}

TEST_F(CliInfo, ResaveWritesTheSameFileAndBadInputGivesOneLine) {
    const QString copy = dir.filePath(QStringLiteral("kopie.fbp"));
    auto result = runCli({QStringLiteral("resave"), path, copy});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    EXPECT_EQ(readFile(copy), readFile(path));

    // Damaged and foreign files: exit code 2, one line, the output file untouched.
    const QString damaged = dir.filePath(QStringLiteral("kaputt.fbp"));
    QByteArray bytes = readFile(path);
    bytes[20] = 9; // the first item's marker
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    for (const QStringList& args :
         {QStringList{QStringLiteral("info"), damaged}, QStringList{QStringLiteral("resave"), damaged, copy},
          QStringList{QStringLiteral("info"), dir.filePath(QStringLiteral("fehlt.fbp"))},
          QStringList{QStringLiteral("info")}, QStringList{QStringLiteral("resave"), path}}) {
        SCOPED_TRACE(qPrintable(args.join(u' ')));
        result = runCli(args);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.err.count('\n'), 1) << result.err.constData();
        EXPECT_TRUE(result.out.isEmpty());
    }
    EXPECT_EQ(readFile(copy), readFile(path));
    result = runCli({QStringLiteral("info"), damaged});
    EXPECT_TRUE(result.err.contains("Invalid file format.")) << result.err.constData();
}
