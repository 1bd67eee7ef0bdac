// tintaro-cli picture FILE --page P --frame F OUT.png: writes the picture of a frame as the project
// stores it (unturned, unfiltered by the frame's zoom and pan) as PNG.
#include "cli/CliCommand.h"
#include "cli/CliFilterSteps.h"
#include "cli/CliFrameArgs.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"

namespace {

const QString kUsage = QStringLiteral("usage: tintaro-cli picture FILE --page P --frame F OUT.png");

int runPicture(const QStringList& args, QTextStream& out) {
    const TCliFrameArgs parsed = Cli::parseFrameArgs(args, kUsage);
    if (parsed.Rest.size() != 1 || parsed.Rest[0].startsWith(QLatin1String("--")))
        throw CliUsageError(kUsage);
    Cli::requireFile(parsed.File);
    TFBDocument document;
    LoadDocumentFromFile(document, parsed.File);
    TFBPictureElement& frame = Cli::pictureFrame(document, parsed.Page, parsed.Frame);
    Cli::requirePhoto(frame, parsed.Page, parsed.Frame);
    const QImage picture = TBildmanager::Instance().GetBitmap(frame.RefIndex);
    if (picture.isNull())
        throw CliUsageError(QStringLiteral("the picture of frame %1 could not be decoded").arg(parsed.Frame));
    CliFilter::WritePng(picture, parsed.Rest[0]);
    out << picture.width() << " x " << picture.height() << '\n';
    return 0;
}

CliRegistration reg{
    CliCommand{QStringLiteral("picture"), QStringLiteral("picture FILE --page P --frame F OUT.png"),
               QStringLiteral("write the picture of a frame as stored to a PNG"), runPicture}};

} // namespace
