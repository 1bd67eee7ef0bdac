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

void readFloat(TCustomDataFile& file, const QString& section, const char* name, float& value) {
    value = finiteOr(file.ReadFloat(section, key(name), double(value)), value);
}

void readInt(TCustomDataFile& file, const QString& section, const char* name, int32_t& value) {
    value = file.ReadInteger(section, key(name), value);
}

void readBool(TCustomDataFile& file, const QString& section, const char* name, bool& value) {
    value = file.ReadBool(section, key(name), value);
}

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
    const auto writeInt = [&](const char* name, int32_t value) {
        file.WriteInteger(section, key(name), value);
    };
    const auto writeBool = [&](const char* name, bool value) { file.WriteBool(section, key(name), value); };
    const auto writeFont = [&](const char* name, const TFont& font) {
        file.WriteFont(section, key(name), font);
    };
    const auto writeReal = [&](const char* name, float value) { writeFloat(file, section, name, value); };
    const auto writePadding = [&](const char* name, const TPaddingData& padding) {
        padding.Save(file, paddingSection(section, name));
    };

    writeInt("Typ", Typ);
    writeInt("Monat", Monat);
    writeInt("Jahr", Jahr);
    writeFont("Font", Font);
    writeInt("TextColorSamstag", TextColorSamstag);
    writeInt("TextColorSonntag", TextColorSonntag);
    writeInt("TextColorFeiertag", TextColorFeiertag);
    writeInt("TextColorGeburtstag", TextColorGeburtstag);
    writeInt("Color", Color);
    writeInt("ColorZeilen", ColorZeilen);
    writeInt("ColorZellen", ColorZellen);
    writeReal("FontHeight", FontHeight);
    writeInt("FTextAlign", FTextAlign);
    writePadding("CellPadding", CellPadding);
    writePadding("RowPadding", RowPadding);
    writePadding("CellSpacing", CellSpacing);
    writePadding("RowSpacing", RowSpacing);

    writeBool("ShowWochentage", ShowWochentage);
    writeFont("WochentagFont", WochentagFont);
    writeReal("WochentagSize", WochentagSize);
    writeReal("WochentagFontHeight", WochentagFontHeight);
    writeInt("WochentagColorZeile", WochentagColorZeile);
    writeInt("WochentagColorZelle", WochentagColorZelle);
    writeInt("WochentagTextAlign", WochentagTextAlign);
    writePadding("WochentagCellPadding", WochentagCellPadding);
    writePadding("WochentagRowPadding", WochentagRowPadding);
    writePadding("WochentagCellSpacing", WochentagCellSpacing);
    writePadding("WochentagRowSpacing", WochentagRowSpacing);

    writeBool("ShowMonatJahr", ShowMonatJahr);
    writeBool("ShowMonatJahrOnBottom", ShowMonatJahrOnBottom);
    writeInt("MonatJahrTextAlign", MonatJahrTextAlign);
    writeReal("MonatJahrFontHeight", MonatJahrFontHeight);
    writeReal("MonatJahrSize", MonatJahrSize);
    writeInt("MonatJahrColorZeile", MonatJahrColorZeile);
    writeBool("MonatJahrZweizeilig", MonatJahrZweizeilig);
    writeFont("MonatJahrFont", MonatJahrFont);
    writePadding("MonatJahrRowPadding", MonatJahrRowPadding);
    writePadding("MonatJahrRowSpacing", MonatJahrRowSpacing);

    writeBool("ShowSondertage", ShowSondertage);
    writeFont("SondertagFont", SondertagFont);
    writeReal("SondertagFontHeight", SondertagFontHeight);
    writeReal("SondertagSize", SondertagSize);
    writeInt("SondertagColorZeile", SondertagColorZeile);
    writeInt("SonderTagTextAlign", SonderTagTextAlign);
    writePadding("SondertagRowSpacing", SondertagRowSpacing);
    writePadding("SondertagRowPadding", SondertagRowPadding);
}

void TKalenderData::Load(TCustomDataFile& file, const QString& section) {
    Reset();
    const auto readI = [&](const char* name, int32_t& value) { readInt(file, section, name, value); };
    const auto readB = [&](const char* name, bool& value) { readBool(file, section, name, value); };
    const auto readR = [&](const char* name, float& value) { readFloat(file, section, name, value); };
    const auto readFont = [&](const char* name, TFont& font) { file.ReadFont(section, key(name), font); };
    const auto readPadding = [&](const char* name, TPaddingData& padding) {
        padding.Load(file, paddingSection(section, name));
    };

    // The type alone falls back to the month grid, not to what the object had. A stored number
    // beyond a byte is no type either; cut to a byte it could name a painter by accident.
    const int32_t typ = file.ReadInteger(section, key("Typ"), 0);
    Typ = typ >= 0 && typ <= 255 ? uint8_t(typ) : uint8_t(ktMonatsraster);
    readI("Monat", Monat);
    readI("Jahr", Jahr);
    readFont("Font", Font);
    readI("TextColorSamstag", TextColorSamstag);
    readI("TextColorSonntag", TextColorSonntag);
    readI("TextColorFeiertag", TextColorFeiertag);
    readI("TextColorGeburtstag", TextColorGeburtstag);
    readI("Color", Color);
    readI("ColorZeilen", ColorZeilen);
    readI("ColorZellen", ColorZellen);
    readR("FontHeight", FontHeight);
    readI("FTextAlign", FTextAlign);
    readPadding("CellPadding", CellPadding);
    readPadding("RowPadding", RowPadding);
    readPadding("CellSpacing", CellSpacing);
    readPadding("RowSpacing", RowSpacing);

    readB("ShowWochentage", ShowWochentage);
    readFont("WochentagFont", WochentagFont);
    readR("WochentagSize", WochentagSize);
    readR("WochentagFontHeight", WochentagFontHeight);
    readI("WochentagColorZeile", WochentagColorZeile);
    readI("WochentagColorZelle", WochentagColorZelle);
    readI("WochentagTextAlign", WochentagTextAlign);
    readPadding("WochentagCellPadding", WochentagCellPadding);
    readPadding("WochentagRowPadding", WochentagRowPadding);
    readPadding("WochentagCellSpacing", WochentagCellSpacing);
    readPadding("WochentagRowSpacing", WochentagRowSpacing);

    readB("ShowMonatJahr", ShowMonatJahr);
    readB("ShowMonatJahrOnBottom", ShowMonatJahrOnBottom);
    readI("MonatJahrTextAlign", MonatJahrTextAlign);
    readR("MonatJahrFontHeight", MonatJahrFontHeight);
    readR("MonatJahrSize", MonatJahrSize);
    readI("MonatJahrColorZeile", MonatJahrColorZeile);
    readB("MonatJahrZweizeilig", MonatJahrZweizeilig);
    readFont("MonatJahrFont", MonatJahrFont);
    readPadding("MonatJahrRowPadding", MonatJahrRowPadding);
    readPadding("MonatJahrRowSpacing", MonatJahrRowSpacing);

    readB("ShowSondertage", ShowSondertage);
    readFont("SondertagFont", SondertagFont);
    readR("SondertagFontHeight", SondertagFontHeight);
    readR("SondertagSize", SondertagSize);
    readI("SondertagColorZeile", SondertagColorZeile);
    readI("SonderTagTextAlign", SonderTagTextAlign);
    readPadding("SondertagRowSpacing", SondertagRowSpacing);
    readPadding("SondertagRowPadding", SondertagRowPadding);
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
