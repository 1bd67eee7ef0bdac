#include "platform/uIniFile.h"

#include <limits>

qint32 TCustomIniFile::ReadInteger(const QString& section, const QString& name, qint32 def) const {
    QString text = ReadString(section, name, QString()).trimmed();
    bool ok = false;
    qlonglong value = 0;
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = text.mid(2).toLongLong(&ok, 16);
    else if (text.startsWith(QLatin1Char('$')))
        value = text.mid(1).toLongLong(&ok, 16);
    else
        value = text.toLongLong(&ok, 10);
    if (!ok || value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<quint32>::max())
        return def;
    // Hexadecimal texts may spell the full 32 bits ("0xFFFFFFFF" is -1).
    return qint32(quint32(value));
}

void TCustomIniFile::WriteInteger(const QString& section, const QString& name, qint32 value) {
    WriteString(section, name, QString::number(value));
}

bool TCustomIniFile::ReadBool(const QString& section, const QString& name, bool def) const {
    return ReadInteger(section, name, def ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const QString& section, const QString& name, bool value) {
    WriteString(section, name, value ? QStringLiteral("1") : QStringLiteral("0"));
}

double TCustomIniFile::ReadFloat(const QString& section, const QString& name, double def) const {
    QString text = ReadString(section, name, QString()).trimmed();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? value : def;
}

void TCustomIniFile::WriteFloat(const QString& section, const QString& name, double value) {
    WriteString(section, name, QString::number(value, 'g', 15));
}

bool TCustomIniFile::SectionExists(const QString& section) const {
    QStringList names;
    ReadSection(section, names);
    return !names.isEmpty();
}

bool TCustomIniFile::ValueExists(const QString& section, const QString& name) const {
    QStringList names;
    ReadSection(section, names);
    for (const QString& candidate : names) {
        if (candidate.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}
