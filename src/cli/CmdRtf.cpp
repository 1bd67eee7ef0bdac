// tintaro-cli rtf normalize IN.rtf: the rich text as the text editor writes it back, to stdout.
#include "cli/CliCommand.h"
#include "render/uRTFTextDocument.h"

#include <QFile>

#include <cstdio>

namespace {

const QString kUsage = QStringLiteral("usage: tintaro-cli rtf normalize IN.rtf");

int runRtf(const QStringList& args, QTextStream& out) {
    if (args.size() != 2 || args[0] != QLatin1String("normalize"))
        throw CliUsageError(kUsage);
    Cli::requireFile(args[1]);
    QFile file(args[1]);
    if (!file.open(QIODevice::ReadOnly))
        throw CliUsageError(QStringLiteral("cannot read %1: %2").arg(args[1], file.errorString()));
    const QByteArray normalized = RTFText::NormalizeRTF(file.readAll());
    // The text is Windows-1252 bytes: written as they are, not re-encoded.
    out.flush();
    std::fwrite(normalized.constData(), 1, size_t(normalized.size()), stdout);
    std::fflush(stdout);
    return 0;
}

CliRegistration reg{CliCommand{QStringLiteral("rtf"), QStringLiteral("rtf normalize IN.rtf"),
                               QStringLiteral("write rich text as the text editor stores it"), runRtf}};

} // namespace
