#pragma once

#include <QString>
#include <QStringList>

// The abstract ini store: sections of "name=value" lines. Concrete stores provide the string
// operations; integers, booleans and floats are stored as their text on top of them.
class TCustomIniFile {
public:
    virtual ~TCustomIniFile() = default;

    virtual QString ReadString(const QString& section, const QString& name, const QString& def) const = 0;
    virtual void WriteString(const QString& section, const QString& name, const QString& value) = 0;
    virtual void ReadSection(const QString& section, QStringList& list) const = 0;
    virtual void ReadSections(QStringList& list) const = 0;
    virtual void ReadSectionValues(const QString& section, QStringList& list) const = 0;
    virtual void EraseSection(const QString& section) = 0;
    virtual void DeleteKey(const QString& section, const QString& name) = 0;
    virtual void UpdateFile() = 0;

    // Decimal, or hexadecimal with "0x" or "$"; anything else gives the default.
    qint32 ReadInteger(const QString& section, const QString& name, qint32 def) const;
    void WriteInteger(const QString& section, const QString& name, qint32 value);
    // Stored as "1" or "0"; any other integer counts as true.
    bool ReadBool(const QString& section, const QString& name, bool def) const;
    void WriteBool(const QString& section, const QString& name, bool value);
    // With a decimal point ("," is accepted as well).
    double ReadFloat(const QString& section, const QString& name, double def) const;
    void WriteFloat(const QString& section, const QString& name, double value);

    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& name) const;
};
