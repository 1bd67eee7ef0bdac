// The calendar properties dialog's rules without its widgets: which control edits which stored
// setting, the alignment and style bits, number fields, and applying as one step that takes every
// value or none.
#include "calendar/uKalender.h"
#include "calendar/uKalenderEigenschaften.h"
#include "calendar/uKalenderStart.h"
#include "catalogue/uDateiNeuWizzard.h"
#include "document/uDataFile.h"
#include "document/uFotobuchDocument.h"
#include "editing/uUndo.h"
#include "platform/Exception.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

const QLocale kGerman(QLocale::German, QLocale::Germany);
const QLocale kEnglish(QLocale::English, QLocale::UnitedKingdom);

// The stored items of the settings, "section|key" -> bytes.
std::map<QString, QByteArray> stored(const TKalenderData& data) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    TMemoryDataFile file(buffer);
    data.Save(file, QStringLiteral("K"));
    file.BuildCache();
    std::map<QString, QByteArray> items;
    for (const TDataFileCacheItem& item : file.CacheItems()) {
        QByteArray value;
        file.ReadBuffer(item.Section, item.Key, value);
        items[item.Section + u'|' + item.Key] = value;
    }
    return items;
}

// The items that differ between two states.
std::set<QString> changedItems(const TKalenderData& before, const TKalenderData& after) {
    const auto a = stored(before);
    const auto b = stored(after);
    std::set<QString> changed;
    for (const auto& [name, value] : a)
        if (!b.count(name) || b.at(name) != value)
            changed.insert(name);
    for (const auto& [name, value] : b)
        if (!a.count(name))
            changed.insert(name);
    return changed;
}

// The stored item a key of the dialog's tables names ("CellPadding.Left" -> "KCellPadding|Left",
// "MonatJahrFont.Color" -> "K|MonatJahrFont").
QString itemOf(const char* key) {
    const QString k = QString::fromLatin1(key);
    const qsizetype dot = k.indexOf(u'.');
    if (dot < 0)
        return QStringLiteral("K|") + k;
    if (k.endsWith(QLatin1String("Font.Color")) || k.endsWith(QLatin1String("Font.Name")) ||
        k.endsWith(QLatin1String("Font.Style")))
        return QStringLiteral("K|") + k.left(dot);
    return QStringLiteral("K") + k.left(dot) + u'|' + k.mid(dot + 1);
}

class KalenderEigenschaften : public ::testing::Test {
protected:
    void SetUp() override {
        UndoManager().Clear();
        data.Reset();
        data.Font.SetSize(12);
    }
    void TearDown() override { UndoManager().Clear(); }
    TKalenderData data;
};

TEST_F(KalenderEigenschaften, EveryControlEditsItsOwnStoredSetting) {
    const TKalenderPropWerte shown = TKalenderPropWerte::Show(data, kGerman);
    {
        // Read back unchanged, the controls change nothing.
        TKalenderData copy;
        TKalenderDataSnapshot(data).RestoreTo(copy);
        shown.ReadInto(copy, kGerman);
        EXPECT_TRUE(changedItems(data, copy).empty());
    }
    std::set<QString> seen;
    const auto& numbers = KalenderZahlFelder();
    ASSERT_EQ(numbers.size(), 1u + 16 + 2 + 16 + 2 + 8 + 2 + 8);
    for (size_t i = 0; i < numbers.size(); ++i) {
        TKalenderPropWerte w = shown;
        w.Zahlen[qsizetype(i)] = QStringLiteral("-7,25");
        TKalenderData target;
        TKalenderDataSnapshot(data).RestoreTo(target);
        w.ReadInto(target, kGerman);
        EXPECT_EQ(changedItems(data, target), std::set<QString>{itemOf(numbers[i].Key)}) << numbers[i].Name;
        EXPECT_FLOAT_EQ(numbers[i].Of(target), -7.25f) << numbers[i].Name;
        EXPECT_TRUE(seen.insert(itemOf(numbers[i].Key)).second) << "bound twice: " << numbers[i].Key;
    }
    const auto& colors = KalenderFarbFelder();
    for (size_t i = 0; i < colors.size(); ++i) {
        TKalenderPropWerte w = shown;
        w.Farben[i] = 0x123456;
        TKalenderData target;
        TKalenderDataSnapshot(data).RestoreTo(target);
        w.ReadInto(target, kGerman);
        EXPECT_EQ(changedItems(data, target), std::set<QString>{itemOf(colors[i].Key)}) << colors[i].Name;
    }
    const auto& flags = KalenderSchalterFelder();
    for (size_t i = 0; i < flags.size(); ++i) {
        TKalenderPropWerte w = shown;
        w.Schalter[i] = !w.Schalter[i];
        TKalenderData target;
        TKalenderDataSnapshot(data).RestoreTo(target);
        w.ReadInto(target, kGerman);
        EXPECT_EQ(changedItems(data, target), std::set<QString>{itemOf(flags[i].Key)}) << flags[i].Name;
        EXPECT_TRUE(seen.insert(itemOf(flags[i].Key)).second) << flags[i].Key;
    }
    for (size_t i = 0; i < 4; ++i) {
        const TKalenderSchriftFeld& f = KalenderSchriftFelder()[i];
        TKalenderPropWerte w = shown;
        w.Schriften[i].Name = QStringLiteral("DejaVu Serif");
        w.Schriften[i].Underline = true;
        w.Schriften[i].Ausrichtung = {2, 2};
        TKalenderData target;
        TKalenderDataSnapshot(data).RestoreTo(target);
        w.ReadInto(target, kGerman);
        EXPECT_EQ(changedItems(data, target),
                  (std::set<QString>{itemOf(f.Key), QStringLiteral("K|") + QString::fromLatin1(f.AlignKey)}))
            << f.Key;
        EXPECT_EQ((target.*f.Font).Name(), QStringLiteral("DejaVu Serif"));
        EXPECT_EQ((target.*f.Font).Style(), TFontStyles(fsUnderline));
        EXPECT_EQ(target.*f.Align, 10);
    }
}

TEST_F(KalenderEigenschaften, AlignmentAndStyleBits) {
    // Left and top first, then the flags that are set; right wins over centre, bottom over
    // vertical centre.
    EXPECT_EQ(TKalenderAusrichtung::FromFlags(0), (TKalenderAusrichtung{0, 0}));
    EXPECT_EQ(TKalenderAusrichtung::FromFlags(5), (TKalenderAusrichtung{1, 1}));
    EXPECT_EQ(TKalenderAusrichtung::FromFlags(3), (TKalenderAusrichtung{2, 0}));
    EXPECT_EQ(TKalenderAusrichtung::FromFlags(12), (TKalenderAusrichtung{0, 2}));
    for (int h = 0; h < 3; ++h)
        for (int v = 0; v < 3; ++v) {
            const TKalenderAusrichtung a{h, v};
            EXPECT_EQ(TKalenderAusrichtung::FromFlags(a.Flags()), a);
        }
    // Word wrap and other bits do not survive the buttons.
    data.FTextAlign = 0x10 | 4 | 2;
    data.Font.SetStyle(fsBold | fsStrikeOut);
    TKalenderPropWerte w = TKalenderPropWerte::Show(data, kGerman);
    EXPECT_TRUE(w.Schriften[0].Bold);
    EXPECT_FALSE(w.Schriften[0].Italic);
    w.ReadInto(data, kGerman);
    EXPECT_EQ(data.FTextAlign, 6);
    EXPECT_EQ(data.Font.Style(), TFontStyles(fsBold)) << "the style is built from the three buttons only";
}

TEST_F(KalenderEigenschaften, NumberFieldsTakeTheLanguagesSeparatorAndThePoint) {
    bool ok = false;
    EXPECT_FLOAT_EQ(ParseKalenderZahl(QStringLiteral("12,5"), kGerman, ok), 12.5f);
    EXPECT_TRUE(ok);
    EXPECT_FLOAT_EQ(ParseKalenderZahl(QStringLiteral(" 12.5 "), kGerman, ok), 12.5f);
    EXPECT_TRUE(ok);
    EXPECT_FLOAT_EQ(ParseKalenderZahl(QStringLiteral("1.000"), kGerman, ok), 1.0f) << "no thousands";
    EXPECT_TRUE(ok);
    EXPECT_FLOAT_EQ(ParseKalenderZahl(QStringLiteral("-1000"), kGerman, ok), -1000.0f);
    EXPECT_TRUE(ok);
    EXPECT_FLOAT_EQ(ParseKalenderZahl(QStringLiteral("100"), kEnglish, ok), 100.0f);
    EXPECT_TRUE(ok);
    EXPECT_FLOAT_EQ(ParseKalenderZahl(QStringLiteral("0.25"), kEnglish, ok), 0.25f);
    EXPECT_TRUE(ok);
    for (const char* bad : {"abc", "1e999", "", "  ", "12,5,3", "100,5", "-1000.5", "nan", "inf", "12 5"}) {
        ParseKalenderZahl(QString::fromLatin1(bad), kGerman, ok);
        EXPECT_FALSE(ok) << bad;
    }
    ParseKalenderZahl(QStringLiteral("12,5"), kEnglish, ok);
    EXPECT_FALSE(ok) << "a comma is no decimal separator in English";

    // Shown in the shortest form that reads back as the same float, with the language's separator.
    EXPECT_EQ(FormatKalenderZahl(15.0f, kGerman), QStringLiteral("15"));
    EXPECT_EQ(FormatKalenderZahl(12.3f, kGerman), QStringLiteral("12,3"));
    EXPECT_EQ(FormatKalenderZahl(12.3f, kEnglish), QStringLiteral("12.3"));
    EXPECT_EQ(FormatKalenderZahl(-0.5f, kGerman), QStringLiteral("-0,5"));
    for (float value : {0.1f, 33.333333f, -999.99f, 1e-6f, 7.0f / 3.0f}) {
        const QString shown = FormatKalenderZahl(value, kGerman);
        EXPECT_EQ(ParseKalenderZahl(shown, kGerman, ok), value) << shown.toStdString();
        EXPECT_TRUE(ok) << shown.toStdString();
    }
}

// A calendar product of twelve monthly calendars.
class KalenderDokument : public ::testing::Test {
protected:
    void SetUp() override {
        UndoManager().Clear();
        ASSERT_TRUE(CreateProductDocument(document, 61, 2026, WizardPageCount(61)));
        for (const TFBPage* page : document.Pages)
            for (TFBElement* e : page->Calendars)
                calendars.push_back(static_cast<TFBKalenderElement*>(e));
        ASSERT_GE(calendars.size(), 12u);
        document.Modified = false;
    }
    void TearDown() override {
        UndoManager().Clear();
        document.Reset();
    }
    std::vector<std::map<QString, QByteArray>> all() const {
        std::vector<std::map<QString, QByteArray>> states;
        for (const TFBKalenderElement* c : calendars)
            states.push_back(stored(*c->Data));
        return states;
    }
    TFBDocument document;
    std::vector<TFBKalenderElement*> calendars;
};

TEST_F(KalenderDokument, BoldItalicTitleAtTheBottomKeepsTheSpecialDaysFont) {
    TFBKalenderElement& c = *calendars[0];
    c.Data->SondertagFont.SetStyle(fsUnderline);
    TKalenderPropWerte w = TKalenderPropWerte::Show(*c.Data, kGerman);
    for (size_t i = 0; i < KalenderSchalterFelder().size(); ++i)
        if (QByteArray(KalenderSchalterFelder()[i].Name) == "chMonatJahrUnten")
            w.Schalter[i] = true;
    w.Schriften[2].Bold = true;
    w.Schriften[2].Italic = true;
    ApplyKalenderEigenschaften(c, w, TKalenderApply::One, kGerman);
    EXPECT_TRUE(c.Data->ShowMonatJahrOnBottom);
    EXPECT_EQ(c.Data->MonatJahrFont.Style(), TFontStyles(fsBold | fsItalic));
    EXPECT_EQ(c.Data->SondertagFont.Style(), TFontStyles(fsUnderline));
    EXPECT_EQ(UndoManager().Count(), 1);
    EXPECT_TRUE(document.Modified);
}

TEST_F(KalenderDokument, ANumberThatDoesNotConvertChangesNothing) {
    TFBKalenderElement& c = *calendars[3];
    const auto before = all();
    for (const char* bad : {"abc", "1e999", "", "12,5,3"}) {
        for (TKalenderApply scope : {TKalenderApply::One, TKalenderApply::All}) {
            TKalenderPropWerte w = TKalenderPropWerte::Show(*c.Data, kGerman);
            // Earlier fields of the same and earlier tabs change first, then the bad one stops it.
            w.Schriften[0].Bold = true;
            w.Zahl(QStringLiteral("edRowSpacingLeft")) = QStringLiteral("3");
            w.Zahl(QStringLiteral("edFontheight")) = QString::fromLatin1(bad);
            try {
                ApplyKalenderEigenschaften(c, w, scope, kGerman);
                ADD_FAILURE() << "applied " << bad;
            } catch (const Exception& e) {
                EXPECT_TRUE(e.message().contains(QString::fromUtf8("Fonthöhe in Zelle")))
                    << e.message().toStdString();
                EXPECT_TRUE(e.message().contains(QStringLiteral("Kalender")));
            }
            EXPECT_EQ(all(), before) << bad;
            EXPECT_EQ(UndoManager().Count(), 0) << "no empty undo step";
            EXPECT_FALSE(document.Modified);
        }
    }
    // The last tab's fields name their group and side.
    TKalenderPropWerte w = TKalenderPropWerte::Show(*c.Data, kGerman);
    w.Zahl(QStringLiteral("edRowPaddingUntenFG")) = QStringLiteral("x");
    try {
        ApplyKalenderEigenschaften(c, w, TKalenderApply::One, kGerman);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_TRUE(e.message().contains(QString::fromUtf8("Zeilenabstände, Innenabstand unten")))
            << e.message().toStdString();
    }
}

TEST_F(KalenderDokument, OkForAllKeepsTheMonthsAndOneUndoRestoresAllTwelve) {
    const auto before = all();
    std::vector<std::pair<int, int>> months;
    for (const TFBKalenderElement* c : calendars)
        months.push_back({c->Data->Monat, c->Data->Jahr});
    TFBKalenderElement& edited = *calendars[5];
    TKalenderPropWerte w = TKalenderPropWerte::Show(*edited.Data, kGerman);
    w.Zahl(QStringLiteral("edFontheight")) = QStringLiteral("33,5");
    w.Farben[1] = 0x00FF00; // the background
    ApplyKalenderEigenschaften(edited, w, TKalenderApply::All, kGerman);
    for (size_t i = 0; i < calendars.size(); ++i) {
        EXPECT_FLOAT_EQ(calendars[i]->Data->FontHeight, 33.5f) << i;
        EXPECT_EQ(calendars[i]->Data->Color, 0x00FF00) << i;
        EXPECT_EQ(std::make_pair(calendars[i]->Data->Monat, calendars[i]->Data->Jahr), months[i]) << i;
    }
    EXPECT_EQ(UndoManager().Count(), 1);
    EXPECT_TRUE(document.Modified);
    UndoManager().Undo(document);
    EXPECT_EQ(all(), before);
    UndoManager().Redo(document);
    EXPECT_FLOAT_EQ(calendars[0]->Data->FontHeight, 33.5f);
}

TEST_F(KalenderDokument, ApplyTwiceThenUndoTwice) {
    // "Übernehmen" twice: each apply is its own step.
    TFBKalenderElement& c = *calendars[0];
    const auto before = stored(*c.Data);
    const float otherHeight = calendars[1]->Data->FontHeight;
    TKalenderPropWerte w = TKalenderPropWerte::Show(*c.Data, kGerman);
    w.Zahl(QStringLiteral("edFontheight")) = QStringLiteral("40");
    ApplyKalenderEigenschaften(c, w, TKalenderApply::One, kGerman);
    const auto middle = stored(*c.Data);
    w.Zahl(QStringLiteral("edFontheight")) = QStringLiteral("45");
    ApplyKalenderEigenschaften(c, w, TKalenderApply::One, kGerman);
    EXPECT_FLOAT_EQ(c.Data->FontHeight, 45.0f);
    EXPECT_FLOAT_EQ(calendars[1]->Data->FontHeight, otherHeight) << "only the edited calendar";
    UndoManager().Undo(document);
    EXPECT_EQ(stored(*c.Data), middle);
    UndoManager().Undo(document);
    EXPECT_EQ(stored(*c.Data), before);
}

TEST_F(KalenderDokument, KeysOfTheCommandLine) {
    TKalenderPropWerte w = TKalenderPropWerte::Show(*calendars[0]->Data, kGerman);
    SetKalenderWertByKey(w, QStringLiteral("CellPadding.Left"), QStringLiteral("4.5"));
    SetKalenderWertByKey(w, QStringLiteral("Color"), QStringLiteral("0x0000FF"));
    SetKalenderWertByKey(w, QStringLiteral("ColorZeilen"), QStringLiteral("none"));
    SetKalenderWertByKey(w, QStringLiteral("MonatJahrFont.Style"), QStringLiteral("bold+italic"));
    SetKalenderWertByKey(w, QStringLiteral("MonatJahrFont.Name"), QStringLiteral("DejaVu Sans"));
    SetKalenderWertByKey(w, QStringLiteral("ShowMonatJahrOnBottom"), QStringLiteral("true"));
    SetKalenderWertByKey(w, QStringLiteral("WochentagTextAlign"), QStringLiteral("9"));
    ApplyKalenderEigenschaften(*calendars[0], w, TKalenderApply::One, kGerman);
    const TKalenderData& d = *calendars[0]->Data;
    EXPECT_FLOAT_EQ(d.CellPadding.Left, 4.5f);
    EXPECT_EQ(d.Color, 0xFF);
    EXPECT_EQ(d.ColorZeilen, NoColor);
    EXPECT_EQ(d.MonatJahrFont.Style(), TFontStyles(fsBold | fsItalic));
    EXPECT_EQ(d.MonatJahrFont.Name(), QStringLiteral("DejaVu Sans"));
    EXPECT_TRUE(d.ShowMonatJahrOnBottom);
    EXPECT_EQ(d.WochentagTextAlign, 9);

    for (const auto& [key, value] :
         std::vector<std::pair<const char*, const char*>>{{"Typ", "1"},
                                                          {"Monat", "3"},
                                                          {"TextColorSonntag", "none"},
                                                          {"Font.Color", "none"},
                                                          {"Color", "0xGG"},
                                                          {"ShowWochentage", "ja"},
                                                          {"Font.Style", "bold+fett"},
                                                          {"FTextAlign", "16"},
                                                          {"Font.Name", " "}})
        EXPECT_THROW(SetKalenderWertByKey(w, QString::fromLatin1(key), QString::fromLatin1(value)), Exception)
            << key << "=" << value;
}

TEST_F(KalenderDokument, PanelYearLimitsAndSteps) {
    TFBKalenderElement* first = calendars[0];
    TKalenderStartAnzeige shown = KalenderStartAnzeige(document, first);
    EXPECT_EQ(shown.Jahr, 2026);
    EXPECT_EQ(shown.Monat, first->Data->Monat);
    EXPECT_TRUE(shown.PlusEnabled);
    EXPECT_TRUE(shown.MinusEnabled);

    document.SetCalendarStart(2100, 1);
    EXPECT_FALSE(KalenderStartAnzeige(document, first).PlusEnabled);
    EXPECT_TRUE(KalenderStartAnzeige(document, first).MinusEnabled);
    document.SetCalendarStart(2099, 1);
    EXPECT_TRUE(KalenderStartAnzeige(document, first).PlusEnabled);
    document.SetCalendarStart(1900, 1);
    EXPECT_FALSE(KalenderStartAnzeige(document, first).MinusEnabled);
    EXPECT_TRUE(KalenderStartAnzeige(document, first).PlusEnabled);
    EXPECT_FALSE(KalenderStartAnzeige(document, nullptr).PlusEnabled);

    document.SetCalendarStart(2026, 9);
    document.Modified = false;
    KalenderJahrSchritt(document, 1);
    EXPECT_EQ(KalenderStartAnzeige(document, first).Jahr, 2027);
    EXPECT_EQ(KalenderStartAnzeige(document, first).Monat, 9);
    EXPECT_EQ(calendars[4]->Data->Jahr, 2028) << "January of the following year";
    EXPECT_TRUE(document.Modified);
    KalenderErsterMonat(document, 2);
    EXPECT_EQ(KalenderStartAnzeige(document, first).Monat, 2);
    EXPECT_EQ(KalenderStartAnzeige(document, first).Jahr, 2027);
    EXPECT_EQ(UndoManager().Count(), 2);
    UndoManager().Undo(document);
    UndoManager().Undo(document);
    EXPECT_EQ(KalenderStartAnzeige(document, first).Jahr, 2026);
    EXPECT_EQ(KalenderStartAnzeige(document, first).Monat, 9);
}

} // namespace
