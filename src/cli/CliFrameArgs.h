#pragma once

// "FILE --page P --frame F ..." of the commands that work on one picture frame of a project (page
// and frame counted from 0), and finding that frame.

#include <QString>
#include <QStringList>

class TFBDocument;
class TFBPictureElement;

struct TCliFrameArgs {
    QString File;
    int Page = -1;
    int Frame = -1;
    // The arguments that are neither the file nor --page or --frame, in order.
    QStringList Rest;
};

namespace Cli {

// The first argument that is not an option is the file. Raises CliUsageError with `usage` when the
// file, --page or --frame is missing.
TCliFrameArgs parseFrameArgs(const QStringList& args, const QString& usage);
// The picture frame, or CliUsageError naming the missing page or frame.
TFBPictureElement& pictureFrame(TFBDocument& document, int page, int frame);
// The frame's photo must be there: CliUsageError for an empty frame or a colour area.
void requirePhoto(const TFBPictureElement& element, int page, int frame);

} // namespace Cli
