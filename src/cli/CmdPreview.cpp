// tintaro-cli preview --product CODE [--year Y] [--size WxH] OUT.jpg: makes the new-project wizard's
// preview of a product (the product built by the catalogue, its frames filled with sample photos,
// a typical view drawn on a neutral background) and writes it as a JPEG of quality 90. The year
// (calendars) defaults to this year, the size to 800x600. OUT is replaced only when complete.
#include "catalogue/uDateiNeuWizzard.h"
#include "catalogue/uWizardPreview.h"
#include "cli/CliCommand.h"
#include "platform/uAtomicFile.h"
#include "platform/uJpegCodec.h"

#include <QDate>
#include <QFile>
#include <QRegularExpression>

namespace {

const QString kUsage =
    QStringLiteral("usage: tintaro-cli preview --product CODE [--year Y] [--size WxH] OUT.jpg");
constexpr int kQuality = 90;

QSize parseSize(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        throw CliUsageError(QStringLiteral("--size must be WIDTHxHEIGHT, not \"%1\"").arg(text));
    const QSize size(match.captured(1).toInt(), match.captured(2).toInt());
    for (int side : {size.width(), size.height()})
        if (side < kMinPreviewSide || side > kMaxPreviewSide)
            throw CliUsageError(QStringLiteral("--size sides must lie between %1 and %2 pixels")
                                    .arg(kMinPreviewSide)
                                    .arg(kMaxPreviewSide));
    return size;
}

int runPreview(const QStringList& args, QTextStream& out) {
    int product = 0;
    bool haveProduct = false;
    int year = QDate::currentDate().year();
    QSize size(800, 600);
    QString target;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const auto value = [&]() -> const QString& {
            if (i + 1 >= args.size())
                throw CliUsageError(QStringLiteral("%1 needs a value; %2").arg(arg, kUsage));
            return args[++i];
        };
        if (arg == QLatin1String("--product")) {
            product = Cli::parseInt(value(), arg);
            haveProduct = true;
        } else if (arg == QLatin1String("--year")) {
            year = Cli::parseInt(value(), arg);
        } else if (arg == QLatin1String("--size")) {
            size = parseSize(value());
        } else if (arg.startsWith(QLatin1String("--"))) {
            throw CliUsageError(QStringLiteral("unknown option %1; %2").arg(arg, kUsage));
        } else if (target.isEmpty()) {
            target = arg;
        } else {
            throw CliUsageError(kUsage);
        }
    }
    if (!haveProduct || target.isEmpty())
        throw CliUsageError(kUsage);
    if (!IsProductCode(product))
        throw CliUsageError(QStringLiteral("unknown product code %1").arg(product));

    const QImage preview = RenderProductPreview(product, year, size);
    if (preview.isNull())
        throw CliUsageError(QStringLiteral("unknown product code %1").arg(product));
    const QByteArray jpeg = JpegCodec::Encode(preview, kQuality);
    if (jpeg.isEmpty())
        throw CliUsageError(QStringLiteral("the preview could not be encoded"));
    // A picture that comes out as it was is left alone, so the build sees nothing to redo.
    QFile existing(target);
    const bool unchanged =
        existing.open(QIODevice::ReadOnly) && existing.size() == jpeg.size() && existing.readAll() == jpeg;
    existing.close();
    if (!unchanged) {
        TAtomicFile file(target);
        if (file.write(jpeg) != jpeg.size())
            throw CliUsageError(QStringLiteral("cannot write %1").arg(target));
        file.Commit();
    }
    out << target << ": " << preview.width() << " x " << preview.height() << "\n";
    return 0;
}

CliRegistration reg{CliCommand{
    QStringLiteral("preview"), QStringLiteral("preview --product CODE [--year Y] [--size WxH] OUT.jpg"),
    QStringLiteral("make the wizard's preview picture of a product as a JPEG"), runPreview}};

} // namespace
