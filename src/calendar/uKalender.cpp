#include "calendar/uKalender.h"

#include "document/uDataFile.h"
#include "i18n/ulocalize.h"

#include <QBuffer>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QDate kDayZero(1899, 12, 30);

QString key(const char* name) {
    return QString::fromLatin1(name);
}

// A padding's section: the calendar's section with the padding's name appended, no separator.
QString paddingSection(const QString& section, const char* name) {
    return section + QLatin1String(name);
}

void writeFloat(TCustomDataFile& file, const QString& section, const char* name, float value) {
    file.WriteFloat(section, key(name), double(value));
}

// A stored value that is no finite float32 (only a damaged file holds one) counts as missing, so
// that sizes and margins never turn into NaN or infinity when drawing.
float finiteOr(double stored, float def) {
    const bool fits = std::isfinite(stored) && std::fabs(stored) <= double(std::numeric_limits<float>::max());
    return fits ? float(stored) : def;
}

// Every setting stored under the calendar's section except the type, in the stored order. `io`
// writes or reads one field; it has an overload for each kind of field.
template <typename Data, typename Io>
void forEachStoredField(Data& d, Io&& io) {
    io("Monat", d.Monat);
    io("Jahr", d.Jahr);
    io("Font", d.Font);
    io("TextColorSamstag", d.TextColorSamstag);
    io("TextColorSonntag", d.TextColorSonntag);
    io("TextColorFeiertag", d.TextColorFeiertag);
    io("TextColorGeburtstag", d.TextColorGeburtstag);
    io("Color", d.Color);
    io("ColorZeilen", d.ColorZeilen);
    io("ColorZellen", d.ColorZellen);
    io("FontHeight", d.FontHeight);
    io("FTextAlign", d.FTextAlign);
    io("CellPadding", d.CellPadding);
    io("RowPadding", d.RowPadding);
    io("CellSpacing", d.CellSpacing);
    io("RowSpacing", d.RowSpacing);

    io("ShowWochentage", d.ShowWochentage);
    io("WochentagFont", d.WochentagFont);
    io("WochentagSize", d.WochentagSize);
    io("WochentagFontHeight", d.WochentagFontHeight);
    io("WochentagColorZeile", d.WochentagColorZeile);
    io("WochentagColorZelle", d.WochentagColorZelle);
    io("WochentagTextAlign", d.WochentagTextAlign);
    io("WochentagCellPadding", d.WochentagCellPadding);
    io("WochentagRowPadding", d.WochentagRowPadding);
    io("WochentagCellSpacing", d.WochentagCellSpacing);
    io("WochentagRowSpacing", d.WochentagRowSpacing);

    io("ShowMonatJahr", d.ShowMonatJahr);
    io("ShowMonatJahrOnBottom", d.ShowMonatJahrOnBottom);
    io("MonatJahrTextAlign", d.MonatJahrTextAlign);
    io("MonatJahrFontHeight", d.MonatJahrFontHeight);
    io("MonatJahrSize", d.MonatJahrSize);
    io("MonatJahrColorZeile", d.MonatJahrColorZeile);
    io("MonatJahrZweizeilig", d.MonatJahrZweizeilig);
    io("MonatJahrFont", d.MonatJahrFont);
    io("MonatJahrRowPadding", d.MonatJahrRowPadding);
    io("MonatJahrRowSpacing", d.MonatJahrRowSpacing);

    io("ShowSondertage", d.ShowSondertage);
    io("SondertagFont", d.SondertagFont);
    io("SondertagFontHeight", d.SondertagFontHeight);
    io("SondertagSize", d.SondertagSize);
    io("SondertagColorZeile", d.SondertagColorZeile);
    io("SonderTagTextAlign", d.SonderTagTextAlign);
    io("SondertagRowSpacing", d.SondertagRowSpacing);
    io("SondertagRowPadding", d.SondertagRowPadding);
}

// Writes each field under its key; a padding goes into its own section.
class TFieldWriter {
public:
    TFieldWriter(TCustomDataFile& file, const QString& section) : file_(file), section_(section) {}

    void operator()(const char* name, int32_t value) { file_.WriteInteger(section_, key(name), value); }
    void operator()(const char* name, bool value) { file_.WriteBool(section_, key(name), value); }
    void operator()(const char* name, float value) { writeFloat(file_, section_, name, value); }
    void operator()(const char* name, const TFont& font) { file_.WriteFont(section_, key(name), font); }
    void operator()(const char* name, const TPaddingData& padding) {
        padding.Save(file_, paddingSection(section_, name));
    }

private:
    TCustomDataFile& file_;
    const QString& section_;
};

// Reads each field from its key; a missing key keeps the field's value.
class TFieldReader {
public:
    TFieldReader(TCustomDataFile& file, const QString& section) : file_(file), section_(section) {}

    void operator()(const char* name, int32_t& value) {
        value = file_.ReadInteger(section_, key(name), value);
    }
    void operator()(const char* name, bool& value) { value = file_.ReadBool(section_, key(name), value); }
    void operator()(const char* name, float& value) {
        value = finiteOr(file_.ReadFloat(section_, key(name), double(value)), value);
    }
    void operator()(const char* name, TFont& font) { file_.ReadFont(section_, key(name), font); }
    void operator()(const char* name, TPaddingData& padding) {
        padding.Load(file_, paddingSection(section_, name));
    }

private:
    TCustomDataFile& file_;
    const QString& section_;
};

} // namespace

// ---------------------------------------------------------------------------------------------
// TPaddingData

void TPaddingData::SetValues(float left, float top, float right, float bottom) {
    Left = left;
    Top = top;
    Right = right;
    Bottom = bottom;
}

bool TPaddingData::Apply(float& left, float& top, float& right, float& bottom) const {
    // Every margin is taken from the incoming size, not from what the other margins left.
    const float width = right - left;
    const float height = bottom - top;
    left += Left / 100.0f * width;
    top += Top / 100.0f * height;
    right -= Right / 100.0f * width;
    bottom -= Bottom / 100.0f * height;
    return right >= left && bottom >= top;
}

void TPaddingData::Save(TCustomDataFile& file, const QString& section) const {
    writeFloat(file, section, "Left", Left);
    writeFloat(file, section, "Top", Top);
    writeFloat(file, section, "Right", Right);
    writeFloat(file, section, "Bottom", Bottom);
}

void TPaddingData::Load(TCustomDataFile& file, const QString& section) {
    Left = finiteOr(file.ReadFloat(section, key("Left"), 0.0), 0);
    Top = finiteOr(file.ReadFloat(section, key("Top"), 0.0), 0);
    Right = finiteOr(file.ReadFloat(section, key("Right"), 0.0), 0);
    Bottom = finiteOr(file.ReadFloat(section, key("Bottom"), 0.0), 0);
}

// ---------------------------------------------------------------------------------------------
// TKalenderData

TKalenderData::TKalenderData() {
    const QDate today = QDate::currentDate();
    Monat = today.month();
    Jahr = today.year();
    Reset();
}

void TKalenderData::Reset() {
    Font.BeginUpdate();
    Font.SetName(QStringLiteral("Arial"));
    Font.SetStyle(0);
    Font.SetColor(0);
    Font.EndUpdate();
    WochentagFont = Font;
    MonatJahrFont = Font;
    TextColorSonntag = 0x0000FF;
    TextColorSamstag = 0x808080;
    Color = NoColor;
    ColorZeilen = NoColor;
    ColorZellen = NoColor;
    CellPadding.Clear();
    RowPadding.Clear();
    CellSpacing.Clear();
    RowSpacing.Clear();
    FontHeight = 50.0f;
    FTextAlign = 5;
    ShowWochentage = true;
    WochentagSize = 15.0f;
    WochentagCellPadding.Clear();
    WochentagRowPadding.Clear();
    WochentagCellSpacing.Clear();
    WochentagColorZeile = NoColor;
    WochentagTextAlign = 5;
    WochentagFontHeight = 50.0f;
    WochentagRowSpacing.Clear();
    WochentagColorZelle = NoColor;
    ShowMonatJahr = true;
    MonatJahrTextAlign = 5;
    MonatJahrFontHeight = 50.0f;
    MonatJahrSize = 15.0f;
    MonatJahrColorZeile = NoColor;
    MonatJahrRowPadding.Clear();
    MonatJahrRowSpacing.Clear();
    TextColorFeiertag = 0x0000FF;
    TextColorGeburtstag = 0x800000;
    SondertagColorZeile = NoColor;
    SondertagRowSpacing.Clear();
    SondertagRowPadding.Clear();
}

void TKalenderData::SetMonat(int value) {
    Monat = std::clamp(value, 1, 12);
}

void TKalenderData::SetJahr(int value) {
    Jahr = std::clamp(value, kKalenderMinJahr, kKalenderMaxJahr);
}

void TKalenderData::Save(TCustomDataFile& file, const QString& section) const {
    file.WriteInteger(section, key("Typ"), Typ);
    forEachStoredField(*this, TFieldWriter(file, section));
}

void TKalenderData::Load(TCustomDataFile& file, const QString& section) {
    Reset();
    // The type alone falls back to the month grid, not to what the object had. A stored number
    // beyond a byte is no type either; cut to a byte it could name a painter by accident.
    const int32_t typ = file.ReadInteger(section, key("Typ"), 0);
    Typ = typ >= 0 && typ <= 255 ? uint8_t(typ) : uint8_t(ktMonatsraster);
    forEachStoredField(*this, TFieldReader(file, section));
}

QDate TKalenderData::FirstDayOfMonth() const {
    return QDate(std::clamp(int(Jahr), kKalenderMinJahr, kKalenderMaxJahr), std::clamp(int(Monat), 1, 12), 1);
}

QDate TKalenderData::LastDayOfMonth() const {
    const QDate first = FirstDayOfMonth();
    return QDate(first.year(), first.month(), first.daysInMonth());
}

int TKalenderData::WeekRowCount() const {
    const QDate first = FirstDayOfMonth();
    const QDate last = LastDayOfMonth();
    // Steps week by week from the Monday of the first day's week until past the last day.
    QDate monday = first.addDays(1 - IsoWeekday(first));
    int count = 0;
    while (monday <= last) {
        ++count;
        monday = monday.addDays(7);
    }
    return count;
}

QString TKalenderData::WeekdayName(int n) {
    static const char* const keys[] = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};
    if (n < 1 || n > 7)
        return QString();
    return Translate(QString::fromLatin1(keys[n - 1]));
}

QString TKalenderData::MonthName(int n) {
    static const char* const keys[] = {"Januar", "Februar", "Marz",      "April",   "Mai",      "Juni",
                                       "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
    if (n < 1 || n > 12)
        return QString();
    return Translate(QString::fromLatin1(keys[n - 1]));
}

// ---------------------------------------------------------------------------------------------
// TKalenderDataSnapshot

void TKalenderDataSnapshot::Take(const TKalenderData& source) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    {
        TMemoryDataFile file(buffer);
        source.Save(file, QString::fromLatin1(kSection));
    }
    bytes_ = std::move(bytes);
}

void TKalenderDataSnapshot::RestoreTo(TKalenderData& target) const {
    if (bytes_.isEmpty())
        return;
    QBuffer buffer;
    buffer.setData(bytes_);
    buffer.open(QIODevice::ReadOnly);
    TMemoryDataFile file(buffer);
    file.BuildCache();
    target.Load(file, QString::fromLatin1(kSection));
}

// ---------------------------------------------------------------------------------------------

double KalenderDateToDays(const QDate& date) {
    return date.isValid() ? double(kDayZero.daysTo(date)) : 0.0;
}

QDate KalenderDaysToDate(double days) {
    // Far beyond any year a calendar shows; keeps the conversion to whole days exact.
    constexpr double kLimit = 1e7;
    if (!std::isfinite(days) || days <= -kLimit || days >= kLimit)
        return QDate();
    // The whole part counts days also before the day zero: -1.25 is 29 December 1899, 6:00.
    return kDayZero.addDays(qint64(std::trunc(days)));
}
