// tintaro-cli browse FOLDER [--size N] [--out DIR] [--no-cache]: what the picture browser shows of
// a folder: its picture files in the browser's order with their thumbnails at N pixels (default
// 92, 16 ... 512), made the way the browser's loader makes them. One tab-separated line per file:
// position from 0, name, the picture's "WxH", the thumbnail's "WxH" and the way it was made
// ("cache", "exif", "scaled", "decoded"; "failed" with both sizes "-"). --out writes each thumbnail
// as DIR/<position>.png; --no-cache neither reads nor writes the shared thumbnail cache.
#include "cli/CliCommand.h"
#include "editing/uPicList.h"
#include "platform/uImaging.h"
#include "platform/uThumbnail.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kUsage = QStringLiteral("usage: tintaro-cli browse FOLDER [--size N] [--out DIR] [--no-cache]");
constexpr int kMinSize = 16;
constexpr int kMaxSize = 512;

QString sizeText(QSize size) {
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

// Tabs and line breaks in a name would break the lines.
QString printable(QString name) {
    return name.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('\t'), QStringLiteral("\\t"))
        .replace(QLatin1Char('\n'), QStringLiteral("\\n"))
        .replace(QLatin1Char('\r'), QStringLiteral("\\r"));
}

int runBrowse(const QStringList& args, QTextStream& out) {
    QString folder;
    QString outDir;
    int size = 92;
    bool noCache = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const auto value = [&]() -> const QString& {
            if (i + 1 >= args.size())
                throw CliUsageError(QStringLiteral("%1 needs a value; %2").arg(arg, kUsage));
            return args[++i];
        };
        if (arg == QLatin1String("--size")) {
            size = Cli::parseInt(value(), arg);
            if (size < kMinSize || size > kMaxSize)
                throw CliUsageError(
                    QStringLiteral("--size must lie between %1 and %2 pixels").arg(kMinSize).arg(kMaxSize));
        } else if (arg == QLatin1String("--out")) {
            outDir = value();
        } else if (arg == QLatin1String("--no-cache")) {
            noCache = true;
        } else if (arg.startsWith(QLatin1String("--"))) {
            throw CliUsageError(QStringLiteral("unknown option %1; %2").arg(arg, kUsage));
        } else if (folder.isEmpty()) {
            folder = arg;
        } else {
            throw CliUsageError(kUsage);
        }
    }
    if (folder.isEmpty())
        throw CliUsageError(kUsage);
    if (!outDir.isEmpty()) {
        const QFileInfo info(outDir);
        if (!info.isDir() || !info.isWritable())
            throw CliUsageError(QStringLiteral("not a writable folder: %1").arg(outDir));
    }
    const PictureListing::TListing listing = PictureListing::List(folder);
    if (!listing.Readable)
        throw CliUsageError(QStringLiteral("cannot read folder: %1").arg(folder));

    Thumbnails::TThumbOptions options;
    options.UseCache = !noCache;
    int position = 0;
    for (const TShellItem& item : listing.Items) {
        const Thumbnails::TThumbResult thumb = Thumbnails::Make(item.Path, QSize(size, size), options);
        out << position << '\t' << printable(item.Name) << '\t';
        if (thumb.ok()) {
            out << sizeText(thumb.PicSize) << '\t' << sizeText(thumb.Image.size()) << '\t'
                << Thumbnails::PathName(thumb.Path) << '\n';
            if (!outDir.isEmpty()) {
                const QByteArray png = Imaging::EncodePng(thumb.Image);
                QFile file(QDir(outDir).filePath(QStringLiteral("%1.png").arg(position)));
                if (png.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(png) != png.size())
                    throw CliUsageError(QStringLiteral("cannot write %1").arg(file.fileName()));
            }
        } else {
            out << "-\t-\t" << Thumbnails::PathName(thumb.Path) << '\n';
        }
        ++position;
    }
    return 0;
}

CliRegistration reg{CliCommand{
    QStringLiteral("browse"), QStringLiteral("browse FOLDER [--size N] [--out DIR] [--no-cache]"),
    QStringLiteral("list a folder's pictures with their thumbnails as the browser shows them"), runBrowse}};

} // namespace
