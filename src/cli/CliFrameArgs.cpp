#include "cli/CliFrameArgs.h"

#include "cli/CliCommand.h"
#include "document/uFotobuchDocument.h"

namespace Cli {

TCliFrameArgs parseFrameArgs(const QStringList& args, const QString& usage) {
    TCliFrameArgs parsed;
    bool havePage = false, haveFrame = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--page") || arg == QLatin1String("--frame")) {
            if (i + 1 >= args.size())
                throw CliUsageError(QStringLiteral("%1 needs a number; %2").arg(arg, usage));
            const int value = parseInt(args[++i], arg);
            (arg == QLatin1String("--page") ? parsed.Page : parsed.Frame) = value;
            (arg == QLatin1String("--page") ? havePage : haveFrame) = true;
        } else if (parsed.File.isEmpty() && !arg.startsWith(QLatin1String("--"))) {
            parsed.File = arg;
        } else {
            parsed.Rest << arg;
        }
    }
    if (parsed.File.isEmpty() || !havePage || !haveFrame)
        throw CliUsageError(usage);
    return parsed;
}

TFBPictureElement& pictureFrame(TFBDocument& document, int page, int frame) {
    const int pages = document.Pages.Count();
    if (page < 0 || page >= pages)
        throw CliUsageError(
            QStringLiteral("page %1 does not exist (the project has %2 pages)").arg(page).arg(pages));
    TFBPage* p = document.Pages.Items(page);
    const int frames = p->Pictures.Count();
    if (frame < 0 || frame >= frames) {
        throw CliUsageError(QStringLiteral("picture frame %1 does not exist on page %2 (it has %3)")
                                .arg(frame)
                                .arg(page)
                                .arg(frames));
    }
    return *static_cast<TFBPictureElement*>(p->Pictures.Items(frame));
}

void requirePhoto(const TFBPictureElement& element, int page, int frame) {
    if (!element.HasPicture())
        throw CliUsageError(
            QStringLiteral("picture frame %1 of page %2 holds no picture").arg(frame).arg(page));
    if (!element.CanZoomAndTrack)
        throw CliUsageError(
            QStringLiteral("picture frame %1 of page %2 is a colour area, not a photo").arg(frame).arg(page));
}

} // namespace Cli
