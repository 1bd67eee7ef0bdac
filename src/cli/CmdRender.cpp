// tintaro-cli render FILE --view V [--dpi D] [--quality Q] [--bare] OUT.png: draws one view of a
// project into a white 32-bit bitmap through a bitmap draw context, the way the page view draws it
// (the view's top-left corner at the bitmap's top-left corner), and writes it as PNG.
#include "cli/CliCommand.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "render/uBitmapDrawContext.h"
#include "render/uDocDrawer.h"

#include <QFileInfo>
#include <QImage>
#include <QImageWriter>

#include <cmath>

namespace {

const QString kUsage =
    QStringLiteral("usage: tintaro-cli render FILE --view V [--dpi D] [--quality Q] [--bare] OUT.png");

// Bitmaps beyond this many pixels on a side or in all (1 GB) are refused rather than failing to
// allocate.
constexpr double kMaxSide = 30000;
constexpr double kMaxPixels = 256.0 * 1024 * 1024;

int runRender(const QStringList& args, QTextStream& out) {
    QString file, target;
    int view = -1, dpi = 96, quality = 0;
    bool haveView = false, bare = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&]() -> QString {
            if (i + 1 >= args.size())
                throw CliUsageError(QStringLiteral("%1 needs a value").arg(a));
            return args[++i];
        };
        if (a == QLatin1String("--view")) {
            view = Cli::parseInt(value(), a);
            haveView = true;
        } else if (a == QLatin1String("--dpi")) {
            dpi = Cli::parseInt(value(), a);
        } else if (a == QLatin1String("--quality")) {
            quality = Cli::parseInt(value(), a);
        } else if (a == QLatin1String("--bare")) {
            bare = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            throw CliUsageError(QStringLiteral("unknown option %1").arg(a));
        } else if (file.isEmpty()) {
            file = a;
        } else if (target.isEmpty()) {
            target = a;
        } else {
            throw CliUsageError(kUsage);
        }
    }
    if (file.isEmpty() || target.isEmpty() || !haveView)
        throw CliUsageError(kUsage);
    if (dpi <= 0)
        throw CliUsageError(QStringLiteral("--dpi must be greater than 0"));
    const QFileInfo in(file);
    if (!in.exists())
        throw CliUsageError(QStringLiteral("file not found: %1").arg(file));

    TFBDocument document;
    LoadDocumentFromFile(document, file);
    if (view < 0 || view >= document.ViewCount())
        throw CliUsageError(QStringLiteral("view %1 does not exist (the project has %2 views)")
                                .arg(view)
                                .arg(document.ViewCount()));

    const TFBSizeF size = document.ViewSize();
    const double w = std::nearbyint(size.Width / 25.4 * dpi);
    const double h = std::nearbyint(size.Height / 25.4 * dpi);
    if (!(w >= 1 && h >= 1 && w <= kMaxSide && h <= kMaxSide && w * h <= kMaxPixels))
        throw CliUsageError(QStringLiteral("a bitmap of %1 x %2 pixels cannot be made").arg(w).arg(h));

    QImage bitmap(static_cast<int>(w), static_cast<int>(h), QImage::Format_ARGB32);
    if (bitmap.isNull())
        throw CliUsageError(QStringLiteral("not enough memory for a bitmap of %1 x %2 pixels").arg(w).arg(h));
    bitmap.fill(0xFFFFFFFFu);
    {
        TBitmapDrawContext dc(bitmap);
        dc.Transformation.Scale(static_cast<float>(dpi / 25.4));
        DocumentDrawer().DrawView(document, dc, quality, view, bare);
        dc.ReleaseCanvas();
    }
    QImageWriter writer(target, "png");
    if (!writer.write(bitmap))
        throw CliUsageError(QStringLiteral("cannot write %1: %2").arg(target, writer.errorString()));
    out << QStringLiteral("%1 x %2\n").arg(bitmap.width()).arg(bitmap.height());
    return 0;
}

CliRegistration reg{CliCommand{
    QStringLiteral("render"), QStringLiteral("render FILE --view V [--dpi D] [--quality Q] [--bare] OUT.png"),
    QStringLiteral("draw one view of a project into a PNG"), runRender}};

} // namespace
