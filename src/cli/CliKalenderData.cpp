#include "cli/CliKalenderData.h"

#include "calendar/uKalender.h"
#include "cli/CliCommand.h"
#include "document/uDataFile.h"

#include <QBuffer>
#include <QStringList>

#include <charconv>
#include <cmath>

namespace {

// The stored floats are float32 widened to 8 bytes; shown in their shortest float32 form (12.3,
// not 12.300000190734863).
QString floatJson(double value) {
    if (!std::isfinite(value))
        return QStringLiteral("null");
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, float(value));
    return QString::fromLatin1(text, result.ptr - text);
}

QString fontJson(const TFont& font) {
    QStringList styles;
    if (font.IsBold())
        styles << QStringLiteral("\"bold\"");
    if (font.IsItalic())
        styles << QStringLiteral("\"italic\"");
    if (font.IsUnderline())
        styles << QStringLiteral("\"underline\"");
    if (font.IsStrikeOut())
        styles << QStringLiteral("\"strikeout\"");
    return QStringLiteral("{\"name\":%1,\"size\":%2,\"style\":[%3],\"colour\":%4}")
        .arg(Cli::jsonString(font.Name()))
        .arg(font.Size())
        .arg(styles.join(u','))
        .arg(font.Color());
}

} // namespace

QList<std::pair<QString, QString>> Cli::kalenderDataMembers(const TKalenderData& data) {
    // Through the stored form, so that the listing follows the file format by itself.
    const QString section = QStringLiteral("K");
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    TMemoryDataFile file(buffer);
    data.Save(file, section);
    file.BuildCache();

    QList<std::pair<QString, QString>> members;
    QString paddingName;
    QStringList paddingMembers;
    const auto endPadding = [&] {
        if (!paddingName.isEmpty())
            members.append({paddingName, u'{' + paddingMembers.join(u',') + u'}'});
        paddingName.clear();
        paddingMembers.clear();
    };
    for (const TDataFileCacheItem& item : file.CacheItems()) {
        if (item.Section != section) {
            // A padding: the calendar's section with the padding's name appended.
            const QString name = item.Section.mid(section.size());
            if (name != paddingName) {
                endPadding();
                paddingName = name;
            }
            paddingMembers << Cli::jsonString(item.Key) + u':' +
                                  floatJson(file.ReadFloat(item.Section, item.Key, 0));
            continue;
        }
        endPadding();
        QString value;
        switch (item.Size) {
        case 1:
            value =
                file.ReadBool(section, item.Key, false) ? QStringLiteral("true") : QStringLiteral("false");
            break;
        case 4:
            value = QString::number(file.ReadInteger(section, item.Key, 0));
            break;
        case 8:
            value = floatJson(file.ReadFloat(section, item.Key, 0));
            break;
        default: {
            TFont font;
            file.ReadFont(section, item.Key, font);
            value = fontJson(font);
            break;
        }
        }
        members.append({item.Key, value});
    }
    endPadding();
    return members;
}
