// tintaro-cli resave IN OUT: loads a project and saves it again, through the same code as the main
// window's Save command (so OUT is replaced only when the whole file was written).
#include "cli/CliCommand.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"

namespace {

int runResave(const QStringList& args, QTextStream&) {
    if (args.size() != 2)
        throw CliUsageError(QStringLiteral("usage: tintaro-cli resave IN OUT"));
    Cli::requireFile(args[0]);

    TFBDocument document;
    LoadDocumentFromFile(document, args[0]);
    SaveDocumentToFile(document, args[1]);
    return 0;
}

CliRegistration reg{CliCommand{QStringLiteral("resave"), QStringLiteral("resave IN OUT"),
                               QStringLiteral("load a project file and save it as OUT"), runResave}};

} // namespace
