#include "calendar/uKalenderEigenschaften.h"

#include "document/uFotobuchDocument.h"
#include "editing/uUndo.h"
#include "i18n/ulocalize.h"
#include "platform/Exception.h"

#include <QRegularExpression>

#include <charconv>
#include <cmath>

namespace {

using D = TKalenderData;
using P = TPaddingData;
using Tab = TKalenderTab;

constexpr const char* kZeilen = "Zeilenabstände";
constexpr const char* kZellen = "Zellenabstände";
constexpr const char* kAussen = "Außenabstand";
constexpr const char* kInnen = "Innenabstand";
constexpr const char* kFontHoehe = "Fonthöhe in Zelle";
constexpr const char* kGroesse = "Größe des Bereichs";

// The four sides in the order the dialog lists them, with the stored key and the German word.
struct TSide {
    const char* Key;
    const char* Word;
    const char* English; // the component names of the first tab use these
    const char* German;  // and the other tabs these
    float P::*Member;
};
constexpr TSide kSides[] = {
    {"Left", "links", "Left", "Links", &P::Left},
    {"Top", "oben", "Top", "Oben", &P::Top},
    {"Right", "rechts", "Right", "Rechts", &P::Right},
    {"Bottom", "unten", "Bottom", "Unten", &P::Bottom},
};

// Component names and keys are built once and live as long as the program.
const char* keep(const QByteArray& text) {
    static std::vector<std::unique_ptr<QByteArray>> texts;
    texts.push_back(std::make_unique<QByteArray>(text));
    return texts.back()->constData();
}

// The four edits of one padding: "edRowSpacing" + "Left" on the first tab, "edRowSpacing" +
// "Links" + "WT" on the others.
void addPadding(std::vector<TKalenderZahlFeld>& fields, Tab tab, const char* stem, const char* suffix,
                const char* key, const char* group, const char* label, P D::*padding) {
    for (const TSide& side : kSides) {
        const bool first = tab == Tab::Kalender;
        const QByteArray name = QByteArray("ed") + stem + (first ? side.English : side.German) + suffix;
        fields.push_back({keep(name), keep(QByteArray(key) + '.' + side.Key), tab, group, label, side.Word,
                          nullptr, padding, side.Member});
    }
}

QString tabName(Tab tab) {
    switch (tab) {
    case Tab::Kalender:
        return Translate(QStringLiteral("Kalender"));
    case Tab::Wochentage:
        return Translate(QStringLiteral("Wochentage"));
    case Tab::MonatJahr:
        return Translate(QStringLiteral("Monat und Jahr"));
    case Tab::Feiertage:
        return Translate(QStringLiteral("Feiertage und Geburtstage"));
    }
    return {};
}

// How a message names a field: "Zeilenabstände, Außenabstand links" on the tab "Kalender".
QString fieldName(const TKalenderZahlFeld& field) {
    QString name = Translate(QString::fromUtf8(field.Label));
    if (field.Side)
        name += u' ' + Translate(QString::fromUtf8(field.Side));
    if (field.Group)
        name = Translate(QString::fromUtf8(field.Group)) + QStringLiteral(", ") + name;
    return name;
}

int parseColor(const QString& key, const QString& text, bool offersNoColor) {
    if (text.compare(QLatin1String("none"), Qt::CaseInsensitive) == 0) {
        if (!offersNoColor)
            throw Exception(QStringLiteral("%1 is a font colour and cannot be \"none\"").arg(key));
        return NoColor;
    }
    bool ok = false;
    const qint64 value = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
                             ? text.mid(2).toLongLong(&ok, 16)
                             : text.toLongLong(&ok, 10);
    if (!ok || value < 0 || value > 0x7FFFFFFF)
        throw Exception(
            QStringLiteral("%1 must be a colour 0xBBGGRR or a number, not \"%2\"").arg(key, text));
    if (value == NoColor && !offersNoColor)
        throw Exception(QStringLiteral("%1 is a font colour and cannot be \"none\"").arg(key));
    return int(value);
}

} // namespace

// ---------------------------------------------------------------------------------------------

const std::vector<TKalenderZahlFeld>& KalenderZahlFelder() {
    static const std::vector<TKalenderZahlFeld> fields = [] {
        std::vector<TKalenderZahlFeld> f;
        const auto number = [&](const char* name, const char* key, Tab tab, const char* label,
                                float D::*value) {
            f.push_back({name, key, tab, nullptr, label, nullptr, value, nullptr, nullptr});
        };
        number("edFontheight", "FontHeight", Tab::Kalender, kFontHoehe, &D::FontHeight);
        addPadding(f, Tab::Kalender, "RowSpacing", "", "RowSpacing", kZeilen, kAussen, &D::RowSpacing);
        addPadding(f, Tab::Kalender, "RowPadding", "", "RowPadding", kZeilen, kInnen, &D::RowPadding);
        addPadding(f, Tab::Kalender, "CellSpacing", "", "CellSpacing", kZellen, kAussen, &D::CellSpacing);
        addPadding(f, Tab::Kalender, "CellPadding", "", "CellPadding", kZellen, kInnen, &D::CellPadding);

        number("edWochentageSize", "WochentagSize", Tab::Wochentage, kGroesse, &D::WochentagSize);
        number("edFontHeightWochentage", "WochentagFontHeight", Tab::Wochentage, kFontHoehe,
               &D::WochentagFontHeight);
        addPadding(f, Tab::Wochentage, "RowSpacing", "WT", "WochentagRowSpacing", kZeilen, kAussen,
                   &D::WochentagRowSpacing);
        addPadding(f, Tab::Wochentage, "RowPadding", "WT", "WochentagRowPadding", kZeilen, kInnen,
                   &D::WochentagRowPadding);
        addPadding(f, Tab::Wochentage, "CellSpacing", "WT", "WochentagCellSpacing", kZellen, kAussen,
                   &D::WochentagCellSpacing);
        addPadding(f, Tab::Wochentage, "CellPadding", "WT", "WochentagCellPadding", kZellen, kInnen,
                   &D::WochentagCellPadding);

        number("edMonatJahrSize", "MonatJahrSize", Tab::MonatJahr, kGroesse, &D::MonatJahrSize);
        number("edFontHeightMJ", "MonatJahrFontHeight", Tab::MonatJahr, kFontHoehe, &D::MonatJahrFontHeight);
        addPadding(f, Tab::MonatJahr, "RowSpacing", "MJ", "MonatJahrRowSpacing", kZeilen, kAussen,
                   &D::MonatJahrRowSpacing);
        addPadding(f, Tab::MonatJahr, "RowPadding", "MJ", "MonatJahrRowPadding", kZeilen, kInnen,
                   &D::MonatJahrRowPadding);

        number("edFeiertageSize", "SondertagSize", Tab::Feiertage, kGroesse, &D::SondertagSize);
        number("edFontHeightFG", "SondertagFontHeight", Tab::Feiertage, kFontHoehe, &D::SondertagFontHeight);
        addPadding(f, Tab::Feiertage, "RowSpacing", "FG", "SondertagRowSpacing", kZeilen, kAussen,
                   &D::SondertagRowSpacing);
        addPadding(f, Tab::Feiertage, "RowPadding", "FG", "SondertagRowPadding", kZeilen, kInnen,
                   &D::SondertagRowPadding);
        return f;
    }();
    return fields;
}

const std::vector<TKalenderFarbFeld>& KalenderFarbFelder() {
    // Font colours live in the fonts; their buttons have the key "<font>.Color".
    static const std::vector<TKalenderFarbFeld> fields = {
        {"cbFontColor", "Font.Color", Tab::Kalender, false},
        {"cbColor", "Color", Tab::Kalender, true},
        {"cbColorZeilen", "ColorZeilen", Tab::Kalender, true},
        {"cbColorZellen", "ColorZellen", Tab::Kalender, true},
        {"cbColorSamstag", "TextColorSamstag", Tab::Kalender, false},
        {"cbColorSonntag", "TextColorSonntag", Tab::Kalender, false},
        {"cbFontColorWT", "WochentagFont.Color", Tab::Wochentage, false},
        {"cbColorZeileWT", "WochentagColorZeile", Tab::Wochentage, true},
        {"cbColorZelleWT", "WochentagColorZelle", Tab::Wochentage, true},
        {"cbFontColorMJ", "MonatJahrFont.Color", Tab::MonatJahr, false},
        {"cbColorZeileMJ", "MonatJahrColorZeile", Tab::MonatJahr, true},
        {"cbColorZeileFG", "SondertagColorZeile", Tab::Feiertage, true},
        {"cbColorFeiertag", "TextColorFeiertag", Tab::Feiertage, false},
        {"cbColorGeburtstag", "TextColorGeburtstag", Tab::Feiertage, false},
    };
    return fields;
}

const std::vector<TKalenderSchalterFeld>& KalenderSchalterFelder() {
    static const std::vector<TKalenderSchalterFeld> fields = {
        {"chShowWochentage", "ShowWochentage", Tab::Wochentage, "Wochentage anzeigen", &D::ShowWochentage},
        {"chMonatJahrAnzeigen", "ShowMonatJahr", Tab::MonatJahr, "Monat und Jahr anzeigen",
         &D::ShowMonatJahr},
        {"chMonatJahrUnten", "ShowMonatJahrOnBottom", Tab::MonatJahr, "Bereich unten anzeigen",
         &D::ShowMonatJahrOnBottom},
        {"chMonatJahrZweizeilig", "MonatJahrZweizeilig", Tab::MonatJahr, "Monat und Jahr zweizeilig",
         &D::MonatJahrZweizeilig},
        {"cbFeiertageAnzeigen", "ShowSondertage", Tab::Feiertage, "Feiertage und Geburtstage anzeigen",
         &D::ShowSondertage},
    };
    return fields;
}

const std::array<TKalenderSchriftFeld, 4>& KalenderSchriftFelder() {
    static const std::array<TKalenderSchriftFeld, 4> fields = {{
        {"Font", "FTextAlign", Tab::Kalender, "", &D::Font, &D::FTextAlign},
        {"WochentagFont", "WochentagTextAlign", Tab::Wochentage, "WT", &D::WochentagFont,
         &D::WochentagTextAlign},
        {"MonatJahrFont", "MonatJahrTextAlign", Tab::MonatJahr, "MJ", &D::MonatJahrFont,
         &D::MonatJahrTextAlign},
        {"SondertagFont", "SonderTagTextAlign", Tab::Feiertage, "FG", &D::SondertagFont,
         &D::SonderTagTextAlign},
    }};
    return fields;
}

// ---------------------------------------------------------------------------------------------

TKalenderAusrichtung TKalenderAusrichtung::FromFlags(int32_t flags) {
    TKalenderAusrichtung a;
    if (flags & 1)
        a.Horizontal = 1;
    if (flags & 2)
        a.Horizontal = 2;
    if (flags & 4)
        a.Vertical = 1;
    if (flags & 8)
        a.Vertical = 2;
    return a;
}

int32_t TKalenderAusrichtung::Flags() const {
    return (Horizontal == 1 ? 1 : 0) + (Horizontal == 2 ? 2 : 0) + (Vertical == 1 ? 4 : 0) +
           (Vertical == 2 ? 8 : 0);
}

TFontStyles TKalenderSchrift::Style() const {
    return (Bold ? fsBold : 0) | (Italic ? fsItalic : 0) | (Underline ? fsUnderline : 0);
}

namespace {

// The font a colour key names ("Font.Color"), or nullptr for a colour of the settings.
const TKalenderSchriftFeld* fontOfColorKey(const char* key) {
    const QByteArray k(key);
    if (!k.endsWith(".Color"))
        return nullptr;
    for (const TKalenderSchriftFeld& f : KalenderSchriftFelder())
        if (k == QByteArray(f.Key) + ".Color")
            return &f;
    return nullptr;
}

int32_t D::*colorMember(const char* key) {
    static const std::pair<const char*, int32_t D::*> members[] = {
        {"Color", &D::Color},
        {"ColorZeilen", &D::ColorZeilen},
        {"ColorZellen", &D::ColorZellen},
        {"TextColorSamstag", &D::TextColorSamstag},
        {"TextColorSonntag", &D::TextColorSonntag},
        {"WochentagColorZeile", &D::WochentagColorZeile},
        {"WochentagColorZelle", &D::WochentagColorZelle},
        {"MonatJahrColorZeile", &D::MonatJahrColorZeile},
        {"SondertagColorZeile", &D::SondertagColorZeile},
        {"TextColorFeiertag", &D::TextColorFeiertag},
        {"TextColorGeburtstag", &D::TextColorGeburtstag},
    };
    for (const auto& [name, member] : members)
        if (qstrcmp(name, key) == 0)
            return member;
    return nullptr;
}

} // namespace

TKalenderPropWerte TKalenderPropWerte::Show(const TKalenderData& data, const QLocale& locale) {
    TKalenderPropWerte w;
    for (const TKalenderZahlFeld& f : KalenderZahlFelder())
        w.Zahlen << FormatKalenderZahl(f.Of(data), locale);
    for (const TKalenderFarbFeld& f : KalenderFarbFelder()) {
        const TKalenderSchriftFeld* font = fontOfColorKey(f.Key);
        w.Farben.push_back(font ? (data.*font->Font).Color() : data.*colorMember(f.Key));
    }
    for (const TKalenderSchalterFeld& f : KalenderSchalterFelder())
        w.Schalter.push_back(data.*f.Value);
    for (size_t i = 0; i < w.Schriften.size(); ++i) {
        const TKalenderSchriftFeld& f = KalenderSchriftFelder()[i];
        const TFont& font = data.*f.Font;
        TKalenderSchrift& s = w.Schriften[i];
        s.Name = font.Name();
        s.Color = font.Color();
        s.Bold = font.IsBold();
        s.Italic = font.IsItalic();
        s.Underline = font.IsUnderline();
        s.Ausrichtung = TKalenderAusrichtung::FromFlags(data.*f.Align);
    }
    return w;
}

void TKalenderPropWerte::ReadInto(TKalenderData& data, const QLocale& locale) const {
    const auto& numbers = KalenderZahlFelder();
    const auto& colors = KalenderFarbFelder();
    const auto& flags = KalenderSchalterFelder();
    if (Zahlen.size() != qsizetype(numbers.size()) || Farben.size() != colors.size() ||
        Schalter.size() != flags.size())
        throw Exception(QStringLiteral("Die Werte des Dialogs sind unvollständig"));

    const TKalenderDataSnapshot snapshot(data);
    try {
        for (int tab = 0; tab < 4; ++tab) {
            const auto onTab = [tab](TKalenderTab t) { return int(t) == tab; };
            for (size_t i = 0; i < Schriften.size(); ++i) {
                const TKalenderSchriftFeld& f = KalenderSchriftFelder()[i];
                if (!onTab(f.Tab))
                    continue;
                TFont& font = data.*f.Font;
                font.BeginUpdate();
                font.SetName(Schriften[i].Name);
                font.SetStyle(Schriften[i].Style());
                font.EndUpdate();
                data.*f.Align = Schriften[i].Ausrichtung.Flags();
            }
            for (size_t i = 0; i < colors.size(); ++i) {
                if (!onTab(colors[i].Tab))
                    continue;
                if (const TKalenderSchriftFeld* font = fontOfColorKey(colors[i].Key))
                    (data.*font->Font).SetColor(Farben[i]);
                else
                    data.*colorMember(colors[i].Key) = Farben[i];
            }
            for (size_t i = 0; i < flags.size(); ++i)
                if (onTab(flags[i].Tab))
                    data.*flags[i].Value = Schalter[i];
            for (size_t i = 0; i < numbers.size(); ++i) {
                if (!onTab(numbers[i].Tab))
                    continue;
                bool ok = false;
                const float value = ParseKalenderZahl(Zahlen[qsizetype(i)], locale, ok);
                if (!ok)
                    throw Exception(
                        Translate(QStringLiteral("„%1“ ist im Feld „%2“ (Register „%3“) keine Zahl "
                                                 "zwischen %4 und %5."))
                            .arg(Zahlen[qsizetype(i)].trimmed(), fieldName(numbers[i]),
                                 tabName(numbers[i].Tab), FormatKalenderZahl(kKalenderZahlMin, locale),
                                 FormatKalenderZahl(kKalenderZahlMax, locale)));
                numbers[i].Of(data) = value;
            }
        }
    } catch (...) {
        snapshot.RestoreTo(data);
        throw;
    }
}

int TKalenderPropWerte::ZahlIndex(const QString& name) const {
    const auto& numbers = KalenderZahlFelder();
    for (size_t i = 0; i < numbers.size(); ++i)
        if (name == QLatin1String(numbers[i].Name))
            return int(i);
    return -1;
}

QString& TKalenderPropWerte::Zahl(const QString& name) {
    const int index = ZahlIndex(name);
    if (index < 0 || index >= Zahlen.size())
        throw Exception(QStringLiteral("Kein Zahlenfeld %1").arg(name));
    return Zahlen[index];
}

// ---------------------------------------------------------------------------------------------

QLocale KalenderZahlLocale() {
    // The localizer's language indexes, for the languages the program ships.
    switch (CurrentLanguage()) {
    case 0:
        return QLocale(QLocale::German, QLocale::Germany);
    case 1:
        return QLocale(QLocale::English, QLocale::UnitedKingdom);
    case 2:
        return QLocale(QLocale::French, QLocale::France);
    case 3:
        return QLocale(QLocale::Italian, QLocale::Italy);
    case 4:
        return QLocale(QLocale::Spanish, QLocale::Spain);
    case 5:
        return QLocale(QLocale::Portuguese, QLocale::Portugal);
    case 9:
        return QLocale(QLocale::Dutch, QLocale::Netherlands);
    case 18:
        return QLocale(QLocale::Danish, QLocale::Denmark);
    default:
        return QLocale::c();
    }
}

float ParseKalenderZahl(const QString& text, const QLocale& locale, bool& ok) {
    ok = false;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return 0;
    // Thousands separators are refused: "1.000" in a German field means the "." a user typed
    // for a decimal point, not a thousand.
    QLocale strict = locale;
    strict.setNumberOptions(QLocale::RejectGroupSeparator);
    bool parsed = false;
    double value = strict.toDouble(trimmed, &parsed);
    if (!parsed) {
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::RejectGroupSeparator);
        value = c.toDouble(trimmed, &parsed);
    }
    if (!parsed || !std::isfinite(value) || value < kKalenderZahlMin || value > kKalenderZahlMax)
        return 0;
    ok = true;
    return float(value);
}

QString FormatKalenderZahl(float value, const QLocale& locale) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    QString shown = QString::fromLatin1(text, result.ptr - text);
    // to_chars may choose an exponent for very small or large values; a user reads plain digits.
    if (shown.contains(u'e'))
        shown = QString::number(double(value), 'f', 9).remove(QRegularExpression(QStringLiteral("\\.?0+$")));
    shown.replace(u'.', locale.decimalPoint());
    shown.replace(u'-', locale.negativeSign());
    return shown;
}

// ---------------------------------------------------------------------------------------------

void ApplyKalenderEigenschaften(TFBKalenderElement& calendar, const TKalenderPropWerte& werte,
                                TKalenderApply scope, const QLocale& locale) {
    TFBDocument* document = calendar.Document();
    if (!document)
        throw Exception(QStringLiteral("Der Kalender gehört zu keinem Dokument"));
    if (scope == TKalenderApply::All)
        UndoManager().AddKalenderEigenschaftenFuerAlle(*document);
    else
        UndoManager().AddKalenderEigenschaften(&calendar);
    try {
        werte.ReadInto(*calendar.Data, locale);
    } catch (...) {
        UndoManager().DropLast();
        throw;
    }
    calendar.Painter.reset();
    if (scope == TKalenderApply::All) {
        document->ApplyCalendarToAll(*calendar.Data);
        for (const TFBPage* page : document->Pages)
            for (TFBElement* element : page->Calendars)
                static_cast<TFBKalenderElement*>(element)->Painter.reset();
    }
    document->Modified = true;
}

// ---------------------------------------------------------------------------------------------

void SetKalenderWertByKey(TKalenderPropWerte& werte, const QString& key, const QString& value) {
    const QByteArray k = key.toLatin1();
    const auto& numbers = KalenderZahlFelder();
    for (size_t i = 0; i < numbers.size(); ++i)
        if (k == numbers[i].Key) {
            werte.Zahlen[qsizetype(i)] = value;
            return;
        }
    const auto& colors = KalenderFarbFelder();
    for (size_t i = 0; i < colors.size(); ++i)
        if (k == colors[i].Key) {
            werte.Farben[i] = parseColor(key, value, colors[i].OffersNoColor);
            return;
        }
    const auto& flags = KalenderSchalterFelder();
    for (size_t i = 0; i < flags.size(); ++i)
        if (k == flags[i].Key) {
            if (value != QLatin1String("true") && value != QLatin1String("false"))
                throw Exception(QStringLiteral("%1 is a flag: true or false, not \"%2\"").arg(key, value));
            werte.Schalter[i] = value == QLatin1String("true");
            return;
        }
    for (size_t i = 0; i < werte.Schriften.size(); ++i) {
        const TKalenderSchriftFeld& f = KalenderSchriftFelder()[i];
        TKalenderSchrift& s = werte.Schriften[i];
        if (k == QByteArray(f.Key) + ".Name") {
            if (value.trimmed().isEmpty())
                throw Exception(QStringLiteral("%1 must name a font").arg(key));
            s.Name = value.trimmed();
            return;
        }
        if (k == QByteArray(f.Key) + ".Style") {
            TKalenderSchrift styled = s;
            styled.Bold = styled.Italic = styled.Underline = false;
            if (value != QLatin1String("none"))
                for (const QString& part : value.split(u'+')) {
                    if (part == QLatin1String("bold"))
                        styled.Bold = true;
                    else if (part == QLatin1String("italic"))
                        styled.Italic = true;
                    else if (part == QLatin1String("underline"))
                        styled.Underline = true;
                    else
                        throw Exception(QStringLiteral("%1 takes bold, italic and underline joined by +, or "
                                                       "none, not \"%2\"")
                                            .arg(key, value));
                }
            s = styled;
            return;
        }
        if (k == f.AlignKey) {
            bool ok = false;
            const int flagsValue = value.toInt(&ok, 0);
            if (!ok || flagsValue < 0 || flagsValue > 15)
                throw Exception(QStringLiteral("%1 takes the alignment flags 0 to 15 (1 centre, 2 right, 4 "
                                               "vertical centre, 8 bottom), not \"%2\"")
                                    .arg(key, value));
            s.Ausrichtung = TKalenderAusrichtung::FromFlags(flagsValue);
            return;
        }
    }
    throw Exception(QStringLiteral("\"%1\" is no setting of the calendar properties dialog").arg(key));
}
