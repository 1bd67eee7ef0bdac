// tintaro-cli filter FILE --page P --frame F FILTER: one colour filter, or one or more red-eye
// clicks, applied to the photo of a frame the way the dialog's OK does (the same command as the
// picture panel's and the context menu's, with its undo record), and the project saved in place.
// Nothing is written when anything is wrong.
#include "cli/CliCommand.h"
#include "cli/CliFilterSteps.h"
#include "cli/CliFrameArgs.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "editing/uDocumentEdits.h"

namespace {

const QString kUsage = QStringLiteral("usage: tintaro-cli filter FILE --page P --frame F FILTER (FILTER: %1)")
                           .arg(QLatin1String(CliFilter::kOptionsUsage));

// Stands in for the dialog: "confirms" with the steps applied to the picture it is given.
class TCliFilterHost : public TPictureFilterHost {
public:
    explicit TCliFilterHost(const std::vector<TCliFilterStep>& steps) : steps_(steps) {
        TBildmanager::Instance().SetFilterHost(this);
    }
    ~TCliFilterHost() override { TBildmanager::Instance().SetFilterHost(nullptr); }

    std::optional<QImage> RunFilter(TPictureFilterKind, const QImage& picture, int) override {
        // Red-eye clicks name pixels of the stored picture, so the display angle plays no part.
        QImage result = picture.copy();
        for (const TCliFilterStep& step : steps_)
            CliFilter::Apply(result, step);
        return result;
    }

private:
    const std::vector<TCliFilterStep>& steps_;
};

int runFilter(const QStringList& args, QTextStream& out) {
    const TCliFrameArgs parsed = Cli::parseFrameArgs(args, kUsage);
    std::vector<TCliFilterStep> steps;
    for (int i = 0; i < parsed.Rest.size();) {
        if (!CliFilter::IsFilterOption(parsed.Rest[i]))
            throw CliUsageError(parsed.Rest[i].startsWith(QLatin1String("--"))
                                    ? QStringLiteral("unknown option %1").arg(parsed.Rest[i])
                                    : kUsage);
        steps.push_back(CliFilter::ParseStep(parsed.Rest, i));
    }
    if (steps.empty())
        throw CliUsageError(kUsage);
    const TPictureFilterKind kind = steps.front().Kind;
    for (const TCliFilterStep& step : steps) {
        if (steps.size() > 1 && step.Kind != TPictureFilterKind::RedEye)
            throw CliUsageError(
                QStringLiteral("filter applies one colour filter, or one or more --redeye clicks"));
    }

    Cli::requireFile(parsed.File);
    TFBDocument document;
    LoadDocumentFromFile(document, parsed.File);
    TFBPictureElement& frame = Cli::pictureFrame(document, parsed.Page, parsed.Frame);
    Cli::requirePhoto(frame, parsed.Page, parsed.Frame);
    const QSize stored = TBildmanager::Instance().GetBitmap(frame.RefIndex).size();
    if (stored.isEmpty())
        throw CliUsageError(QStringLiteral("the picture of frame %1 could not be decoded").arg(parsed.Frame));
    for (const TCliFilterStep& step : steps)
        CliFilter::RequireInside(step, stored);

    bool confirmed = false;
    {
        TCliFilterHost host(steps);
        confirmed = DocumentEdits::FilterPicture(frame, kind);
    }
    if (!confirmed)
        throw CliUsageError(QStringLiteral("the filter could not be applied"));
    SaveDocumentToFile(document, parsed.File);
    const TBildManagerListItem* entry = TBildmanager::Instance().Find(frame.RefIndex);
    out << "filtered picture frame " << parsed.Frame << " of page " << parsed.Page << ": \""
        << (entry ? entry->FileName : QString()) << "\" (" << stored.width() << " x " << stored.height()
        << ")\n";
    return 0;
}

CliRegistration reg{
    CliCommand{QStringLiteral("filter"), QStringLiteral("filter FILE --page P --frame F FILTER"),
               QStringLiteral("apply a colour filter or red-eye clicks to a frame's photo"), runFilter}};

} // namespace
