// Loads arbitrary bytes as an ini text, reads everything back and checks that saving is stable:
// a saved store loads into the same store.
#include "document/uMyMemIniFile.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

namespace {

QByteArray save(const TMyMemIniFile& ini) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ini.SaveToStream(buffer);
    return buffer.data();
}

void load(TMyMemIniFile& ini, const QByteArray& bytes, bool merge) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    if (merge)
        ini.MergeFromAnsiStream(buffer);
    else
        ini.LoadFromStream(buffer);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TMyMemIniFile ini;
    load(ini, bytes, false);

    QStringList sections, names, lines;
    ini.ReadSections(sections);
    for (const QString& section : sections) {
        ini.ReadSection(section, names);
        ini.ReadSectionValues(section, lines);
        if (names.size() != lines.size())
            std::abort();
        for (const QString& name : names) {
            (void)ini.ReadString(section, name, QString());
            (void)ini.ReadInteger(section, name, 0);
            (void)ini.ReadFloat(section, name, 0.0);
        }
    }

    const QByteArray saved = save(ini);
    TMyMemIniFile again;
    load(again, saved, false);
    if (save(again) != saved)
        std::abort();

    // Merging the same 8-bit text again doubles lines but adds no section.
    load(again, bytes, true);
    QStringList mergedSections;
    again.ReadSections(mergedSections);
    const bool utf16 = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
    if (!utf16 && mergedSections.size() != sections.size())
        std::abort();
    if (!sections.isEmpty()) {
        again.WriteString(sections.first(), QStringLiteral("Name"), QStringLiteral("Wert"));
        if (again.ReadString(sections.first(), QStringLiteral("NAME"), QString()) != QStringLiteral("Wert"))
            std::abort();
        again.EraseSection(sections.first());
    }
    return 0;
}
