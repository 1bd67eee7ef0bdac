#pragma once

#include <QString>
#include <QStringList>

// The text form of set values in project files: "[" + the members' identifiers in ordinal order,
// separated by "," + "]"; the empty set is "[]". Bit n of a set value is the member with ordinal n.
struct TSetType {
    QStringList Names;  // the enumeration's identifiers, index = ordinal
    int MinOrdinal = 0; // the ordinals the set can hold
    int MaxOrdinal = -1;
};

QString SetToString(const TSetType& type, quint64 value);

// Parses a set text; separators and blanks are free ("[a, b]", "a,b" and "[A,B]" are the same set).
// Raises Exception for an unknown identifier or an ordinal the set cannot hold; the members parsed
// before the error are then already in value.
void StringToSet(const QString& text, const TSetType& type, quint64& value);
quint64 StringToSet(const QString& text, const TSetType& type);

// The set type of the document's Layouttypen: the 17 layout types.
const TSetType& LayoutTypenSetType();
