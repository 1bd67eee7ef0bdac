#include "DatePrinting.h"
#include "KalenderSamples.h"
#include "calendar/uKalender.h"
#include "calendar/uKalenderBesondereTage.h"
#include "document/uDataFile.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "support/PageElements.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace KalenderSamples;

TFBKalenderElement* addCalendar(TFBPage* page) {
    return static_cast<TFBKalenderElement*>(page->Calendars.Add(std::make_unique<TFBKalenderElement>(page)));
}

void expectSameList(const TKalenderTageListe& a, const TKalenderTageListe& b) {
    ASSERT_EQ(a.Count(), b.Count());
    for (int i = 0; i < a.Count(); ++i) {
        EXPECT_EQ(a.Items(i).Datum, b.Items(i).Datum) << i;
        EXPECT_EQ(a.Items(i).Text, b.Items(i).Text) << i;
    }
}

class CalendarProject : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("kalender.fbp"));
        TestSupport::addPages(doc, 3);
        TFBKalenderElement* first =
            TestSupport::placeElement<TFBKalenderElement>(doc.Pages.Items(0), 74, 180, 140, 50);
        setEverything(*first->Data);
        addCalendar(doc.Pages.Items(1));
        TFBKalenderElement* third = addCalendar(doc.Pages.Items(2));
        third->Data->Typ = 4;
        third->Data->ShowMonatJahrOnBottom = true;
        addCalendar(doc.Pages.Items(2));
        doc.SetCalendarStart(2026, 12);

        ComputeHolidays(doc.Feiertage, 2026);
        doc.Feiertage.Add(QStringLiteral("Betriebsausflug"), QStringLiteral(", "), QDate(2026, 6, 12));
        doc.Geburtstage.Add(QStringLiteral("Anna, Max"), QStringLiteral(", "), QDate(2027, 3, 5));
        doc.Geburtstage.Add(QString::fromUtf8("Jörg"), QStringLiteral(", "), QDate(2026, 12, 24));
    }

    QTemporaryDir dir;
    QString path;
    TFBDocument doc;
};

TEST_F(CalendarProject, SavedAndOpenedKeepsEveryCalendarSettingAndBothLists) {
    SaveDocumentToFile(doc, path);
    TFBDocument opened;
    opened.Feiertage.Add(QStringLiteral("vorher"), QStringLiteral(", "), QDate(2000, 1, 1));
    LoadDocumentFromFile(opened, path);

    ASSERT_EQ(opened.Pages.Count(), 3);
    for (int p = 0; p < 3; ++p) {
        const TFBPage& a = *doc.Pages.Items(p);
        const TFBPage& b = *opened.Pages.Items(p);
        ASSERT_EQ(a.Calendars.Count(), b.Calendars.Count());
        for (int i = 0; i < a.Calendars.Count(); ++i)
            EXPECT_EQ(storedForm(*b.Calendar(i)->Data), storedForm(*a.Calendar(i)->Data)) << p << "/" << i;
    }
    const TKalenderData& first = *opened.Pages.Items(0)->Calendar(0)->Data;
    EXPECT_EQ(first.Monat, 12);
    EXPECT_EQ(first.Jahr, 2026);
    EXPECT_EQ(first.Typ, 3);
    EXPECT_EQ(first.Font.Name(), QStringLiteral("Times New Roman"));
    EXPECT_EQ(first.SondertagRowPadding.Bottom, 48.0f);
    EXPECT_EQ(opened.Pages.Items(2)->Calendar(1)->Data->Monat, 2);
    EXPECT_EQ(opened.Pages.Items(2)->Calendar(1)->Data->Jahr, 2027);
    EXPECT_EQ(opened.Pages.Items(0)->Calendar(0)->Width, 140.0f);

    // The lists replace whatever the document held before.
    expectSameList(opened.Feiertage, doc.Feiertage);
    expectSameList(opened.Geburtstage, doc.Geburtstage);
    EXPECT_TRUE(opened.Geburtstage.Contains(QDate(2027, 3, 5)));
    EXPECT_FALSE(opened.Feiertage.Contains(QDate(2000, 1, 1)));
}

TEST_F(CalendarProject, TheFileHoldsTheSettingsBelowTheElementAndTheListsAtTheTop) {
    SaveDocumentToFile(doc, path);
    TDataFile file(path, TDataFile::OpenMode::ReadOnly);
    const QString e = QStringLiteral("Doc/Pages/Page0/Kalenderlist/Kalender0");
    EXPECT_EQ(file.ReadInteger(e + QStringLiteral("/KalenderData"), QStringLiteral("Typ"), -1), 3);
    EXPECT_EQ(file.ReadFloat(e + QStringLiteral("/KalenderDataCellPadding"), QStringLiteral("Right"), -1),
              3.0);
    EXPECT_EQ(file.ReadString(e, QStringLiteral("Classname"), {}), QStringLiteral("TFBKalenderElement"));
    EXPECT_EQ(file.ReadInteger(QStringLiteral("Feiertage"), QStringLiteral("Anzahl"), -1),
              doc.Feiertage.Count());
    EXPECT_EQ(file.ReadInteger(QStringLiteral("Geburtstage"), QStringLiteral("Anzahl"), -1), 2);
    EXPECT_EQ(file.ReadString(QStringLiteral("Geburtstage/Item1"), QStringLiteral("Text"), {}),
              QString::fromUtf8("Jörg"));

    // The element's own keys come before its settings.
    qint64 classname = -1, typ = -1;
    for (const TDataFileCacheItem& item : file.CacheItems()) {
        if (item.Section == e && item.Key == QLatin1String("Angle"))
            classname = item.Position;
        if (item.Section == e + QStringLiteral("/KalenderData") && item.Key == QLatin1String("Typ"))
            typ = item.Position;
    }
    ASSERT_GE(classname, 0);
    EXPECT_GT(typ, classname);
}

TEST_F(CalendarProject, ElementSaveLoadAndTransferCarryTheSettings) {
    const TFBKalenderElement& source = *doc.Pages.Items(0)->Calendar(0);
    {
        MemoryContainer c;
        source.Save(*c.file, QStringLiteral("U"));
        c.file->BuildCache();
        TFBKalenderElement restored(doc.Pages.Items(1));
        restored.Load(*c.file, QStringLiteral("U"));
        EXPECT_EQ(storedForm(*restored.Data), storedForm(*source.Data));
        EXPECT_EQ(restored.CenterY, 180.0f);
    }
    {
        MemoryContainer c;
        source.SaveWithPicture(*c.file, QStringLiteral("T"));
        c.file->BuildCache();
        EXPECT_EQ(c.file->ReadInteger(QStringLiteral("T/KalenderData"), QStringLiteral("Monat"), -1), 12);
        TFBKalenderElement pasted(doc.Pages.Items(1));
        pasted.CenterX = 33;
        pasted.LoadWithPicture(*c.file, QStringLiteral("T"));
        EXPECT_EQ(storedForm(*pasted.Data), storedForm(*source.Data));
        EXPECT_EQ(pasted.CenterX, 33.0f); // no geometry travels
    }
}

TEST_F(CalendarProject, ACalendarWithoutStoredSettingsOpensWithDefaults) {
    {
        TDataFile file(path);
        file.WriteInteger(QStringLiteral("Doc"), QStringLiteral("DocVersion"), 5);
        file.WriteInteger(QStringLiteral("Doc/Pages"), QStringLiteral("Anzahl"), 1);
        file.WriteInteger(QStringLiteral("Doc/Pages/Page0/Kalenderlist"), QStringLiteral("Anzahl"), 1);
        file.WriteString(QStringLiteral("Doc/Pages/Page0/Kalenderlist/Kalender0"),
                         QStringLiteral("Classname"), QStringLiteral("TFBKalenderElement"));
        file.WriteInteger(QStringLiteral("Doc/Pages/Page0/Kalenderlist/Kalender0/KalenderData"),
                          QStringLiteral("Monat"), 4);
    }
    TFBDocument opened;
    LoadDocumentFromFile(opened, path);
    ASSERT_EQ(opened.Pages.Count(), 1);
    ASSERT_EQ(opened.Pages.Items(0)->Calendars.Count(), 1);
    const TKalenderData& data = *opened.Pages.Items(0)->Calendar(0)->Data;
    EXPECT_EQ(data.Monat, 4);
    EXPECT_EQ(data.Jahr, QDate::currentDate().year());
    EXPECT_EQ(data.Typ, 0);
    EXPECT_EQ(data.FontHeight, 50.0f);
    EXPECT_EQ(opened.Feiertage.Count(), 0);
    EXPECT_EQ(opened.Geburtstage.Count(), 0);
}

} // namespace
