#include "document/uColorList.h"

#include "platform/Exception.h"
#include "platform/SoftAssert.h"
#include "platform/uDebug.h"
#include "platform/uVXRegIniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>
#include <memory>

namespace {

struct NamedColor {
    const char* name;
    std::int32_t color;
};

// The named colours of the colour text form (0x00BBGGRR).
constexpr NamedColor namedColors[] = {
    {"clBlack", 0x000000},  {"clMaroon", 0x000080},  {"clGreen", 0x008000},      {"clOlive", 0x008080},
    {"clNavy", 0x800000},   {"clPurple", 0x800080},  {"clTeal", 0x808000},       {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0}, {"clRed", 0x0000FF},     {"clLime", 0x00FF00},       {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},   {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},       {"clWhite", 0xFFFFFF},
    {"clLtGray", 0xC0C0C0}, {"clDkGray", 0x808080},  {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},  {"clMedGray", 0xA4A0A0},
};

struct ProcessTable {
    TColorList table;
    QString fileName; // where the table came from and goes back to
};

std::unique_ptr<ProcessTable>& processTable() {
    static std::unique_ptr<ProcessTable> instance;
    return instance;
}

} // namespace

bool TextToColor(const QString& text, std::int32_t& color) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    for (const NamedColor& named : namedColors) {
        if (t.compare(QLatin1String(named.name), Qt::CaseInsensitive) == 0) {
            color = named.color;
            return true;
        }
    }
    bool ok = false;
    qint64 value = 0;
    if (t.startsWith(QLatin1Char('$')))
        value = t.mid(1).toLongLong(&ok, 16);
    else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = t.mid(2).toLongLong(&ok, 16);
    else
        value = t.toLongLong(&ok, 10);
    // Hexadecimal forms cover the 32 bits ("$FFFFFFFF" is -1); a decimal number must fit an int32.
    const bool hex = !t.at(0).isDigit() && t.at(0) != QLatin1Char('-') && t.at(0) != QLatin1Char('+');
    if (!ok || (hex && (value < 0 || value > 0xFFFFFFFFLL)) ||
        (!hex && (value < INT32_MIN || value > INT32_MAX)))
        return false;
    color = std::int32_t(std::uint32_t(value));
    return true;
}

TColorList& TColorList::Instance() {
    std::unique_ptr<ProcessTable>& instance = processTable();
    if (!instance) {
        instance = std::make_unique<ProcessTable>();
        instance->fileName = UserDataFile(QString::fromLatin1(FileName));
        instance->table.LoadFromFile(instance->fileName);
    }
    return instance->table;
}

void TColorList::Finalize() {
    std::unique_ptr<ProcessTable>& instance = processTable();
    if (!instance)
        return;
    try {
        instance->table.SaveToFile(instance->fileName);
    } catch (const Exception& e) {
        // The program is ending; there is no one left to tell but the trace.
        Debug().Trace(QStringLiteral("TColorList.Finalize: ") + e.message());
    }
    instance.reset();
}

TColorList::TColorList() {
    items_.fill(Empty);
}

std::int32_t TColorList::Items(int index) const {
    TT_ASSERT(index >= 0 && index < SlotCount, return Empty);
    return items_[size_t(index)];
}

void TColorList::SetItem(int index, std::int32_t color) {
    TT_ASSERT(index >= 0 && index < SlotCount, return );
    items_[size_t(index)] = color;
}

void TColorList::Clear() {
    items_.fill(Empty);
}

int TColorList::UsedCount() const {
    return int(std::count_if(items_.begin(), items_.end(), [](std::int32_t c) { return c != Empty; }));
}

int TColorList::AddColor(std::int32_t color, int preferredIndex) {
    if (color == Empty)
        return -1; // nothing to add: -1 is the mark of an empty slot
    auto slot = std::find(items_.begin(), items_.end(), color);
    if (slot != items_.end())
        return int(slot - items_.begin());
    slot = std::find(items_.begin(), items_.end(), Empty);
    int index = slot != items_.end() ? int(slot - items_.begin()) : preferredIndex;
    TT_ASSERT(index >= 0 && index < SlotCount, return -1);
    items_[size_t(index)] = color;
    return index;
}

std::vector<std::optional<std::int32_t>> CustomColorLines(const QString& text) {
    std::vector<std::optional<std::int32_t>> colors;
    for (const QString& line : text.split(QRegularExpression(QStringLiteral("\r?\n")))) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        bool ok = false;
        const uint value = equals < 0 ? 0 : line.mid(equals + 1).trimmed().toUInt(&ok, 16);
        colors.push_back(ok ? std::optional<std::int32_t>(std::int32_t(value)) : std::nullopt);
    }
    return colors;
}

void TColorList::LoadFromSettings(const QString& section) {
    Clear();
    const QString text = VXRegIniFile().ReadString(section, QStringLiteral("Colors"), QString());
    const std::vector<std::optional<std::int32_t>> lines = CustomColorLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i])
            AddColor(*lines[i], int(i));
    }
}

void TColorList::LoadFromFile(const QString& path) {
    Clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    int next = 0;
    while (next < SlotCount && !file.atEnd()) {
        std::int32_t color = 0;
        if (TextToColor(QString::fromLatin1(file.readLine()), color))
            items_[size_t(next++)] = color;
    }
}

void TColorList::SaveToFile(const QString& path) const {
    QByteArray text;
    for (std::int32_t color : items_) {
        if (color != Empty)
            text += QString::asprintf("$%.8x\n", std::uint32_t(color)).toLatin1();
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        throw Exception(QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden: %2")
                            .arg(QFileInfo(path).fileName(), file.errorString()));
}
