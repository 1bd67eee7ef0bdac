// tintaro-cli layouts: the built-in page layouts in catalogue order, one per line: position (from
// 1), ID, name, style number and the layout types as set text, separated by tabs.
#include "catalogue/uFotobuchPageTemplate.h"
#include "cli/CliCommand.h"
#include "document/uSetText.h"

namespace {

int runLayouts(const QStringList& args, QTextStream& out) {
    if (!args.isEmpty())
        throw CliUsageError(QStringLiteral("usage: tintaro-cli layouts"));
    int position = 0;
    for (const TFBPageTemplate* t : LayoutCatalogue()) {
        out << ++position << '\t' << t->ID << '\t' << t->Name << '\t' << t->Stil << '\t'
            << SetToString(LayoutTypenSetType(), t->LayoutTypen.Bits()) << '\n';
    }
    return 0;
}

CliRegistration reg{CliCommand{QStringLiteral("layouts"), QStringLiteral("layouts"),
                               QStringLiteral("list the built-in page layouts"), runLayouts}};

} // namespace
