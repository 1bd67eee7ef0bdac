// tintaro-cli items FILE: the items of a container file in stream order, one line each:
// header offset, section, key and data size, separated by tabs.
#include "cli/CliCommand.h"
#include "document/uDataFile.h"
#include "platform/Exception.h"

namespace {

// Names are shown as they are stored; control characters (which would break the line format)
// are shown as \xNN.
QString printable(const QString& name) {
    QString out;
    out.reserve(name.size());
    for (QChar ch : name) {
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7F)
            out += QStringLiteral("\\x%1").arg(ch.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += ch;
    }
    return out;
}

int runItems(const QStringList& args, QTextStream& out) {
    if (args.size() != 1)
        throw CliUsageError(QStringLiteral("usage: tintaro-cli items FILE"));
    const QString& path = args.first();
    Cli::requireFile(path);

    TDataFile file(path, TDataFile::OpenMode::ReadOnly);
    if (!file.HasValidHeader())
        throw Exception(QStringLiteral("Invalid file format."));
    for (const TDataFileCacheItem& item : file.CacheItems()) {
        out << item.Position << '\t' << printable(item.Section) << '\t' << printable(item.Key) << '\t'
            << item.Size << '\n';
    }
    return 0;
}

CliRegistration reg{
    CliCommand{QStringLiteral("items"), QStringLiteral("items FILE"),
               QStringLiteral("list the items of a container file (offset, section, key, size)"), runItems}};

} // namespace
