#include "document/uMyMemIniFile.h"

#include "platform/Exception.h"
#include "platform/uCodepage.h"

#include <QFile>
#include <QIODevice>
#include <QSaveFile>

namespace {

// The name part of a line is the text before its first "="; a line without one has none.
bool namePart(const QString& line, QStringView& name) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    name = QStringView(line).first(eq);
    return true;
}

// Splits at CR LF, CR or LF.
QStringList splitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar ch = text[i];
        if (ch != QLatin1Char('\r') && ch != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (ch == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

QString decodeUtf16(const QByteArray& bytes, bool bigEndian) {
    const qsizetype count = bytes.size() / 2; // an odd last byte is no character
    QString text(count, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.constData());
    for (qsizetype i = 0; i < count; ++i) {
        const unsigned first = in[2 * i], second = in[2 * i + 1];
        out[i] = char16_t(bigEndian ? (first << 8 | second) : (second << 8 | first));
    }
    return text;
}

} // namespace

qsizetype TMyMemIniFile::Section::indexOfName(const QString& name) const {
    if (!indexValid) {
        index.clear();
        for (qsizetype i = 0; i < lines.size(); ++i) {
            QStringView part;
            if (!namePart(lines[i], part))
                continue;
            const QString key = part.toString().toCaseFolded();
            if (!index.contains(key)) // the first line of a name wins
                index.insert(key, i);
        }
        indexValid = true;
    }
    return index.value(name.toCaseFolded(), -1);
}

const TMyMemIniFile::Section* TMyMemIniFile::findSection(const QString& name) const {
    for (const Section& section : sections_) {
        if (section.name.compare(name, Qt::CaseInsensitive) == 0)
            return &section;
    }
    return nullptr;
}

TMyMemIniFile::Section* TMyMemIniFile::findSection(const QString& name) {
    return const_cast<Section*>(std::as_const(*this).findSection(name));
}

TMyMemIniFile::Section& TMyMemIniFile::sectionFor(const QString& name) {
    if (Section* section = findSection(name))
        return *section;
    sections_.append(Section{name, {}, {}, false});
    return sections_.last();
}

QString TMyMemIniFile::ReadString(const QString& section, const QString& name, const QString& def) const {
    const Section* s = findSection(section);
    if (!s)
        return def;
    const qsizetype i = s->indexOfName(name);
    if (i < 0)
        return def;
    return s->lines[i].mid(name.size() + 1);
}

void TMyMemIniFile::WriteString(const QString& section, const QString& name, const QString& value) {
    Section& s = sectionFor(section);
    const QString line = name + QLatin1Char('=') + value;
    const qsizetype i = s.indexOfName(name);
    if (i >= 0)
        s.lines[i] = line;
    else
        s.lines.append(line);
    s.indexValid = false;
}

void TMyMemIniFile::ReadSection(const QString& section, QStringList& list) const {
    list.clear();
    if (const Section* s = findSection(section)) {
        for (const QString& line : s->lines) {
            QStringView part;
            list.append(namePart(line, part) ? part.toString() : QString());
        }
    }
}

void TMyMemIniFile::ReadSections(QStringList& list) const {
    list.clear();
    for (const Section& section : sections_)
        list.append(section.name);
}

void TMyMemIniFile::ReadSectionValues(const QString& section, QStringList& list) const {
    const Section* s = findSection(section);
    list = s ? s->lines : QStringList();
}

void TMyMemIniFile::EraseSection(const QString& section) {
    for (qsizetype i = 0; i < sections_.size(); ++i) {
        if (sections_[i].name.compare(section, Qt::CaseInsensitive) == 0) {
            sections_.removeAt(i);
            return;
        }
    }
}

void TMyMemIniFile::DeleteKey(const QString& section, const QString& name) {
    Section* s = findSection(section);
    if (!s)
        return;
    const qsizetype i = s->indexOfName(name);
    if (i < 0)
        return;
    s->lines.removeAt(i);
    s->indexValid = false;
}

void TMyMemIniFile::Clear() {
    sections_.clear();
}

void TMyMemIniFile::parseLines(const QString& text) {
    Section* current = nullptr;
    for (const QString& line : splitLines(text)) {
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.size() >= 2 && line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            current = &sectionFor(line.mid(1, line.size() - 2));
            continue;
        }
        if (current) { // lines before the first section line belong nowhere
            current->lines.append(line);
            current->indexValid = false;
        }
    }
}

void TMyMemIniFile::LoadFromStream(QIODevice& stream) {
    Clear();
    const QByteArray bytes = stream.readAll();
    QString text;
    if (bytes.startsWith("\xFF\xFE"))
        text = decodeUtf16(bytes.mid(2), false);
    else if (bytes.startsWith("\xFE\xFF"))
        text = decodeUtf16(bytes.mid(2), true);
    else
        text = Codepage::fromAnsi(bytes);
    // The store holds what the code page can hold.
    parseLines(Codepage::ansiRoundTrip(text));
}

void TMyMemIniFile::LoadFromFile(const QString& path) {
    QFile file(path);
    if (!file.exists()) {
        Clear();
        return;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        throw Exception(
            QStringLiteral("Die Datei \"%1\" kann nicht geöffnet werden: %2").arg(path, file.errorString()));
    }
    LoadFromStream(file);
}

void TMyMemIniFile::MergeFromAnsiStream(QIODevice& stream) {
    parseLines(Codepage::fromAnsi(stream.readAll()));
}

void TMyMemIniFile::SaveToStream(QIODevice& stream) const {
    QString text;
    const QLatin1String crlf("\r\n");
    for (const Section& section : sections_) {
        text += QLatin1Char('[') + section.name + QLatin1Char(']') + crlf;
        for (const QString& line : section.lines)
            text += line + crlf;
        text += crlf;
    }
    const QByteArray bytes = Codepage::toAnsi(text);
    if (stream.write(bytes) != bytes.size())
        throw Exception(QStringLiteral("Schreibfehler: %1").arg(stream.errorString()));
}

void TMyMemIniFile::SaveToFile(const QString& path) const {
    // Written beside the old file and swapped in at the end, so a failed save keeps the old one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        throw Exception(QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2")
                            .arg(path, file.errorString()));
    }
    SaveToStream(file);
    if (!file.commit()) {
        throw Exception(QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2")
                            .arg(path, file.errorString()));
    }
}
