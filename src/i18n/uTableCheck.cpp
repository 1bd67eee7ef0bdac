#include "i18n/uTableCheck.h"

#include "i18n/ulocalize.h"
#include "platform/uCodepage.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace {

// One table as written: sections in order with their entries, duplicates and comment lines kept
// apart so the checks can name them.
struct TRawTable {
    QString Code;
    bool Read = false;
    bool Bom = false;
    QStringList SectionOrder;
    QHash<QString, QList<QPair<QString, QString>>> Entries; // folded section -> (key, value)
    QHash<QString, QString> SectionNames;                   // folded -> as written
    QSet<QString> SameAllowed;                              // folded keys of ";=key" lines
    QStringList Problems;
};

QString fold(const QString& text) {
    return text.toCaseFolded();
}

TRawTable readTable(const TLocalizer& localizer, int index) {
    TRawTable table;
    table.Code = TLocalizer::CodeOf(index);
    if (!localizer.HasTable(index))
        return table;
    // The same bytes the localizer loads, read again to see what its store smooths over.
    QFile file(localizer.TablePath(index));
    if (!file.open(QIODevice::ReadOnly))
        return table;
    const QByteArray bytes = file.readAll();
    table.Read = true;
    table.Bom = bytes.startsWith("\xFF\xFE");
    if (!table.Bom || bytes.size() % 2 != 0) {
        table.Problems << QStringLiteral("%1: not UTF-16 LE with a byte-order mark").arg(table.Code);
        return table;
    }
    const QString text =
        QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2), (bytes.size() - 2) / 2);
    QString section;
    int lineNo = 0;
    for (const QString& line : text.split(QStringLiteral("\r\n"))) {
        ++lineNo;
        for (const QChar ch : line) {
            if (Codepage::ansiOf(ch.unicode()) < 0 || ch.unicode() < 0x20) {
                table.Problems << QStringLiteral("%1:%2: character U+%3 is not in Windows-1252")
                                      .arg(table.Code)
                                      .arg(lineNo)
                                      .arg(ch.unicode(), 4, 16, QLatin1Char('0'));
                break;
            }
        }
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1String(";="))) {
            table.SameAllowed.insert(fold(line.mid(2)));
            continue;
        }
        if (line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2);
            if (!table.SectionNames.contains(fold(section))) {
                table.SectionNames.insert(fold(section), section);
                table.SectionOrder << fold(section);
            }
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (section.isEmpty() || eq <= 0) {
            table.Problems << QStringLiteral("%1:%2: not an entry: %3").arg(table.Code).arg(lineNo).arg(line);
            continue;
        }
        auto& entries = table.Entries[fold(section)];
        const QString key = line.left(eq);
        for (const auto& entry : entries) {
            if (fold(entry.first) == fold(key)) {
                table.Problems << QStringLiteral("%1: [%2] %3 twice").arg(table.Code, section, key);
                break;
            }
        }
        entries.append({key, line.mid(eq + 1)});
    }
    return table;
}

QHash<QString, QString> valuesOf(const TRawTable& table, const QString& section) {
    QHash<QString, QString> values;
    for (const auto& entry : table.Entries.value(section))
        values.insert(fold(entry.first), entry.second);
    return values;
}

} // namespace

QStringList FormatSpecifiers(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral("%(%|[0-9]+|[-+ #0]*[0-9]*(\\.[0-9]+)?[dsfpxuc])"));
    QStringList specifiers;
    auto it = pattern.globalMatch(text);
    while (it.hasNext()) {
        const QString match = it.next().captured(0);
        if (match != QLatin1String("%%"))
            specifiers << match;
    }
    return specifiers;
}

TTableCheckResult CheckLanguageTables(const TLocalizer& localizer, bool allRegistered) {
    TTableCheckResult result;
    QList<TRawTable> tables;
    for (int index : kShippedLanguages) {
        TRawTable table = readTable(localizer, index);
        if (!table.Read) {
            result.Problems << QStringLiteral("%1: no table").arg(TLocalizer::CodeOf(index));
            continue;
        }
        ++result.Tables;
        result.Problems << table.Problems;
        tables.append(std::move(table));
    }
    if (tables.isEmpty() || tables.first().Code != QLatin1String("deu")) {
        result.Problems << QStringLiteral("deu: the German table is missing");
        return result;
    }
    const TRawTable& german = tables.first();
    result.Sections = static_cast<int>(german.SectionOrder.size());
    for (const QString& section : german.SectionOrder)
        result.Entries += static_cast<int>(german.Entries.value(section).size());

    // German against the registered texts.
    const TMyMemIniFile& sources = localizer.Sources();
    for (const QString& section : german.SectionOrder) {
        const QString name = german.SectionNames.value(section);
        for (const auto& [key, value] : german.Entries.value(section)) {
            const QString registered = sources.ReadString(name, key, QString::fromLatin1(kNotFoundMarker));
            if (registered == QLatin1String(kNotFoundMarker)) {
                // Without the forms only the sections of texts looked up by wording are complete.
                const bool lookedUp = section == fold(QString::fromLatin1(kDefaultSection)) ||
                                      section == fold(QString::fromLatin1(kLocalizerSection));
                if (allRegistered || lookedUp)
                    result.Problems << QStringLiteral("deu: [%1] %2 is not registered").arg(name, key);
                continue;
            }
            if (registered != value)
                result.Problems << QStringLiteral("deu: [%1] %2 is \"%3\", registered \"%4\"")
                                       .arg(name, key, value, registered);
        }
    }
    QStringList sections;
    sources.ReadSections(sections);
    for (const QString& name : sections) {
        // Without the forms (command line, core tests) a section the German table lacks belongs to
        // a form that was not created.
        const bool lookedUp = fold(name) == fold(QString::fromLatin1(kDefaultSection)) ||
                              fold(name) == fold(QString::fromLatin1(kLocalizerSection));
        if (!allRegistered && !lookedUp && !german.SectionNames.contains(fold(name)))
            continue;
        QStringList keys;
        sources.ReadSection(name, keys);
        const QHash<QString, QString> values = valuesOf(german, fold(name));
        for (const QString& key : keys) {
            if (!values.contains(fold(key)))
                result.Problems << QStringLiteral("deu: [%1] %2 missing").arg(name, key);
        }
    }

    // Every other table against German.
    for (qsizetype t = 1; t < tables.size(); ++t) {
        const TRawTable& table = tables[t];
        for (const QString& section : german.SectionOrder) {
            const QString name = german.SectionNames.value(section);
            if (!table.SectionNames.contains(section)) {
                result.Problems << QStringLiteral("%1: section [%2] missing").arg(table.Code, name);
                continue;
            }
            const QHash<QString, QString> values = valuesOf(table, section);
            for (const auto& [key, germanValue] : german.Entries.value(section)) {
                const auto it = values.constFind(fold(key));
                if (it == values.constEnd()) {
                    result.Problems << QStringLiteral("%1: [%2] %3 missing").arg(table.Code, name, key);
                    continue;
                }
                if (it->trimmed().isEmpty())
                    result.Problems << QStringLiteral("%1: [%2] %3 is empty").arg(table.Code, name, key);
                if (FormatSpecifiers(*it) != FormatSpecifiers(germanValue))
                    result.Problems << QStringLiteral("%1: [%2] %3 has the specifiers \"%4\", German \"%5\"")
                                           .arg(table.Code, name, key, FormatSpecifiers(*it).join(u' '),
                                                FormatSpecifiers(germanValue).join(u' '));
                if (*it == germanValue && !table.SameAllowed.contains(fold(key)))
                    result.Problems << QStringLiteral("%1: [%2] %3 is still German: %4")
                                           .arg(table.Code, name, key, germanValue);
            }
            const QHash<QString, QString> germanValues = valuesOf(german, section);
            for (const auto& entry : table.Entries.value(section)) {
                if (!germanValues.contains(fold(entry.first)))
                    result.Problems << QStringLiteral("%1: [%2] %3 is not in the German table")
                                           .arg(table.Code, name, entry.first);
            }
        }
        for (const QString& section : table.SectionOrder) {
            if (!german.SectionNames.contains(section))
                result.Problems << QStringLiteral("%1: section [%2] is not in the German table")
                                       .arg(table.Code, table.SectionNames.value(section));
        }
    }
    return result;
}
