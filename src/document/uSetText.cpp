#include "document/uSetText.h"

#include "platform/Exception.h"

namespace {

bool isNameChar(QChar ch) {
    const char16_t c = ch.unicode();
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

} // namespace

QString SetToString(const TSetType& type, quint64 value) {
    QStringList members;
    const int last = std::min<int>(type.MaxOrdinal, std::min<int>(type.Names.size(), 64) - 1);
    for (int ordinal = std::max(type.MinOrdinal, 0); ordinal <= last; ++ordinal) {
        if (value & (quint64(1) << ordinal))
            members.append(type.Names[ordinal]);
    }
    return QLatin1Char('[') + members.join(QLatin1Char(',')) + QLatin1Char(']');
}

void StringToSet(const QString& text, const TSetType& type, quint64& value) {
    value = 0;
    const qsizetype n = text.size();
    const auto skipBlanks = [&](qsizetype& i) {
        while (i < n && text[i].unicode() < 33)
            ++i;
    };
    qsizetype i = 0;
    while (i < n) {
        skipBlanks(i);
        if (i < n && !isNameChar(text[i]))
            ++i; // a separator such as "[", "," or "]"
        skipBlanks(i);
        const qsizetype start = i;
        while (i < n && isNameChar(text[i]))
            ++i;
        if (i == start)
            continue;
        const QString name = text.mid(start, i - start);
        qsizetype ordinal = -1;
        for (qsizetype k = 0; k < type.Names.size(); ++k) {
            if (type.Names[k].compare(name, Qt::CaseInsensitive) == 0) {
                ordinal = k;
                break;
            }
        }
        if (ordinal < 0) {
            throw Exception(
                QStringLiteral("StringToSet: '%1' is not a valid literal for the set type").arg(name));
        }
        if (ordinal < type.MinOrdinal || ordinal > type.MaxOrdinal || ordinal >= 64) {
            throw Exception(QStringLiteral("StringToSet: %1 is out of range [%2..%3]")
                                .arg(ordinal)
                                .arg(type.MinOrdinal)
                                .arg(type.MaxOrdinal));
        }
        value |= quint64(1) << ordinal;
    }
}

quint64 StringToSet(const QString& text, const TSetType& type) {
    quint64 value = 0;
    StringToSet(text, type, value);
    return value;
}

const TSetType& LayoutTypenSetType() {
    static const TSetType type{
        {QStringLiteral("ltPhotoBook86"), QStringLiteral("ltPhotoBook85"), QStringLiteral("ltPhotoBook46"),
         QStringLiteral("ltPhotoBooklet43"), QStringLiteral("ltSingles10x15"),
         QStringLiteral("ltPhotoBook88"), QStringLiteral("ltPhotoBook85Randlos"), QStringLiteral("ltDINA4"),
         QStringLiteral("ltDINA4Randlos"), QStringLiteral("ltSingles13x18"), QStringLiteral("ltPhotoBookPro"),
         QStringLiteral("ltPhotoBookProRandlos"), QStringLiteral("ltPhotobook10x15A"),
         QStringLiteral("ltPhotobook10x15B"), QStringLiteral("ltKalenderA4"), QStringLiteral("ltKalenderA5"),
         QStringLiteral("ltKalenderA6")},
        0,
        16};
    return type;
}
