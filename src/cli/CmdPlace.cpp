// tintaro-cli place FILE --page P --frame F PICTURE: puts a picture into picture frame F of page P
// (both counted from 0), as a drop onto the frame does, and saves the project in place through the
// same atomic save as the main window. Nothing is written when anything is wrong.
#include "cli/CliCommand.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"

#include <QFileInfo>

namespace {

const QString kUsage = QStringLiteral("usage: tintaro-cli place FILE --page P --frame F PICTURE");

struct TPlaceArgs {
    QString file;
    QString picture;
    int page = -1;
    int frame = -1;
};

TPlaceArgs parse(const QStringList& args) {
    TPlaceArgs parsed;
    bool havePage = false;
    bool haveFrame = false;
    QStringList positional;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--page") || arg == QLatin1String("--frame")) {
            if (i + 1 >= args.size())
                throw CliUsageError(QStringLiteral("%1 needs a number; %2").arg(arg, kUsage));
            const int value = Cli::parseInt(args[++i], arg);
            if (arg == QLatin1String("--page")) {
                parsed.page = value;
                havePage = true;
            } else {
                parsed.frame = value;
                haveFrame = true;
            }
        } else if (arg.startsWith(QLatin1String("--"))) {
            throw CliUsageError(QStringLiteral("unknown option %1; %2").arg(arg, kUsage));
        } else {
            positional << arg;
        }
    }
    if (positional.size() != 2 || !havePage || !haveFrame)
        throw CliUsageError(kUsage);
    parsed.file = positional[0];
    parsed.picture = positional[1];
    return parsed;
}

int runPlace(const QStringList& args, QTextStream& out) {
    const TPlaceArgs place = parse(args);
    Cli::requireFile(place.file);
    Cli::requireFile(place.picture, QStringLiteral("picture"));

    TFBDocument document;
    LoadDocumentFromFile(document, place.file);
    const int pages = document.Pages.Count();
    if (place.page < 0 || place.page >= pages) {
        throw CliUsageError(
            QStringLiteral("page %1 does not exist (the project has %2 pages)").arg(place.page).arg(pages));
    }
    TFBPage* page = document.Pages.Items(place.page);
    const int frames = page->Pictures.Count();
    if (place.frame < 0 || place.frame >= frames) {
        throw CliUsageError(QStringLiteral("picture frame %1 does not exist on page %2 (it has %3)")
                                .arg(place.frame)
                                .arg(place.page)
                                .arg(frames));
    }
    auto* frame = static_cast<TFBPictureElement*>(page->Pictures.Items(place.frame));
    frame->SetPictureFile(QFileInfo(place.picture).absoluteFilePath());
    const TBildManagerListItem* entry = TBildmanager::Instance().Find(frame->RefIndex);
    if (!entry || entry->PicWidth <= 0 || entry->PicHeight <= 0)
        throw CliUsageError(QStringLiteral("picture could not be decoded: %1").arg(place.picture));
    const QSize size(entry->PicWidth, entry->PicHeight);
    document.Modified = true;
    SaveDocumentToFile(document, place.file);
    out << "placed " << place.picture << " (" << size.width() << " x " << size.height()
        << ") in picture frame " << place.frame << " of page " << place.page << '\n';
    return 0;
}

CliRegistration reg{
    CliCommand{QStringLiteral("place"), QStringLiteral("place FILE --page P --frame F PICTURE"),
               QStringLiteral("put a picture into a picture frame and save the project in place"), runPlace}};

} // namespace
