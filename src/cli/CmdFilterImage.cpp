// tintaro-cli filter-image IN OUT.png FILTER...: decodes a picture file upright and at full size,
// applies the filters in the order given, exactly as the filter dialogs' OK does, and writes the
// result as PNG.
#include "cli/CliCommand.h"
#include "cli/CliFilterSteps.h"
#include "platform/uImaging.h"

#include <QFile>

namespace {

const QString kUsage = QStringLiteral("usage: tintaro-cli filter-image IN OUT.png FILTER... (FILTER: %1)")
                           .arg(QLatin1String(CliFilter::kOptionsUsage));

int runFilterImage(const QStringList& args, QTextStream& out) {
    QStringList positional;
    std::vector<TCliFilterStep> steps;
    for (int i = 0; i < args.size();) {
        if (CliFilter::IsFilterOption(args[i]))
            steps.push_back(CliFilter::ParseStep(args, i));
        else if (args[i].startsWith(QLatin1String("--")))
            throw CliUsageError(QStringLiteral("unknown option %1").arg(args[i]));
        else
            positional << args[i++];
    }
    if (positional.size() != 2 || steps.empty())
        throw CliUsageError(kUsage);
    const QString& in = positional[0];
    Cli::requireFile(in, QStringLiteral("picture"));
    QFile file(in);
    if (!file.open(QIODevice::ReadOnly))
        throw CliUsageError(QStringLiteral("cannot read %1").arg(in));
    Imaging::TDecodeResult decoded = Imaging::Decode(file.readAll());
    if (!decoded.ok())
        throw CliUsageError(QStringLiteral("picture could not be decoded: %1").arg(in));
    QImage picture = decoded.Image;
    for (const TCliFilterStep& step : steps)
        CliFilter::RequireInside(step, picture.size());
    for (const TCliFilterStep& step : steps)
        CliFilter::Apply(picture, step);
    CliFilter::WritePng(picture, positional[1]);
    out << picture.width() << " x " << picture.height() << '\n';
    return 0;
}

CliRegistration reg{
    CliCommand{QStringLiteral("filter-image"), QStringLiteral("filter-image IN OUT.png FILTER..."),
               QStringLiteral("apply colour filters or red-eye clicks to a picture file"), runFilterImage}};

} // namespace
