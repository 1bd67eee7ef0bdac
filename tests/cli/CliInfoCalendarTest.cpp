#include "support/TestSupport.h"

#include "JsonKeyOrder.h"

#include "calendar/uKalender.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using TestSupport::runCli;

namespace {

// The member names of the first calendar object in the output, in their printed order.
QStringList calendarKeysInOrder(const QByteArray& out) {
    const qsizetype start = out.indexOf("\"Classname\":\"TFBKalenderElement\"");
    EXPECT_GE(start, 0);
    if (start < 0)
        return {};
    return keysInOrder(out, out.lastIndexOf('{', start));
}

TEST(CliInfoCalendar, ShowsEverySettingUnderItsKeyWithFontsAndPaddingsAsObjects) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("kalender.fbp"));
    {
        TFBDocument doc;
        TFBPage* page = doc.Pages.Add(std::make_unique<TFBPage>(&doc));
        auto* calendar =
            static_cast<TFBKalenderElement*>(page->Calendars.Add(std::make_unique<TFBKalenderElement>(page)));
        TKalenderData& d = *calendar->Data;
        d.SetMonat(2);
        d.SetJahr(2028);
        d.Typ = 1;
        d.Font = TFont(QStringLiteral("Times New Roman"), 12, fsBold | fsItalic, 0x0000FF);
        d.CellPadding.SetValues(1.5f, 2, 3, 0.1f);
        d.WochentagSize = 12.3f;
        d.ShowMonatJahrOnBottom = true;
        SaveDocumentToFile(doc, path);
    }
    const auto result = runCli({QStringLiteral("info"), path});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(result.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    const QJsonObject calendar = root["pages"].toArray()[0].toObject()["calendars"].toArray()[0].toObject();

    EXPECT_EQ(calendar["Monat"].toInt(), 2);
    EXPECT_EQ(calendar["Jahr"].toInt(), 2028);
    EXPECT_EQ(calendar["Typ"].toInt(), 1);
    EXPECT_EQ(calendar["Color"].toInt(), NoColor);
    EXPECT_EQ(calendar["TextColorSamstag"].toInt(), 0x808080);
    EXPECT_EQ(calendar["ShowMonatJahrOnBottom"].toBool(), true);
    EXPECT_EQ(calendar["ShowSondertage"].toBool(false), false);
    EXPECT_EQ(calendar["WochentagSize"].toDouble(), 12.3); // the float as it was set, not widened
    EXPECT_EQ(calendar["FontHeight"].toDouble(), 50.0);

    const QJsonObject font = calendar["Font"].toObject();
    EXPECT_EQ(font["name"].toString(), QStringLiteral("Times New Roman"));
    EXPECT_EQ(font["size"].toInt(), 12);
    EXPECT_EQ(font["style"].toArray(), (QJsonArray{"bold", "italic"}));
    EXPECT_EQ(font["colour"].toInt(), 255);
    EXPECT_EQ(calendar["WochentagFont"].toObject()["name"].toString(), QStringLiteral("Arial"));
    EXPECT_TRUE(calendar["WochentagFont"].toObject()["style"].toArray().isEmpty());

    const QJsonObject padding = calendar["CellPadding"].toObject();
    EXPECT_EQ(padding["Left"].toDouble(), 1.5);
    EXPECT_EQ(padding["Top"].toDouble(), 2.0);
    EXPECT_EQ(padding["Right"].toDouble(), 3.0);
    EXPECT_EQ(padding["Bottom"].toDouble(), 0.1);
    EXPECT_EQ(calendar["SondertagRowPadding"].toObject().size(), 4);

    // The element's keys, then the settings in their stored order.
    const QStringList keys = calendarKeysInOrder(result.out);
    ASSERT_GE(keys.size(), 6 + 46);
    EXPECT_EQ(keys.mid(0, 6), (QStringList{"Classname", "CenterX", "CenterY", "Width", "Height", "Angle"}));
    EXPECT_EQ(keys.mid(6, 5), (QStringList{"Typ", "Monat", "Jahr", "Font", "TextColorSamstag"}));
    EXPECT_EQ(keys.indexOf(QStringLiteral("CellPadding")), keys.indexOf(QStringLiteral("FTextAlign")) + 1);
    EXPECT_EQ(keys.last(), QStringLiteral("SondertagRowPadding"));
    EXPECT_EQ(keys.size(), 6 + 46); // 34 values and 12 paddings
}

} // namespace
