// tintaro-cli pages FILE [--strip OUT.png [--height H] [--current V]]: the views as the pages panel
// lists them, one tab-separated line each: index, caption, left page or "-", right page or "-",
// "movable" or "fixed", and three digits (1 enabled) for the menu's insert before, insert after and
// delete. With --strip the panel's cells are painted side by side as the panel paints them, for a
// client H pixels high (168 when not given), with view V as the current one (none when not given).
#include "cli/CliCommand.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "editing/uPagesStrip.h"

#include <QImageWriter>

namespace {

const QString kUsage =
    QStringLiteral("usage: tintaro-cli pages FILE [--strip OUT.png [--height H] [--current V]]");

// Nothing to coalesce or ask without a window.
class TCliStripWindow : public TPagesStripWindow {
public:
    void InvalidateAll() override {}
    void ScrollStateChanged() override {}
    bool Confirm(const QString&) override { return false; }
};

QString pageText(const TFBDocument& document, int index) {
    return index >= 0 && index < document.Pages.Count() ? QString::number(index) : QStringLiteral("-");
}

int runPages(const QStringList& args, QTextStream& out) {
    QString file, strip;
    int height = 168;
    int current = -1;
    bool haveHeight = false, haveCurrent = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const auto value = [&]() -> QString {
            if (i + 1 >= args.size())
                throw CliUsageError(QStringLiteral("%1 needs a value; %2").arg(a, kUsage));
            return args[++i];
        };
        if (a == QLatin1String("--strip")) {
            strip = value();
        } else if (a == QLatin1String("--height")) {
            height = Cli::parseInt(value(), a);
            haveHeight = true;
        } else if (a == QLatin1String("--current")) {
            current = Cli::parseInt(value(), a);
            haveCurrent = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            throw CliUsageError(QStringLiteral("unknown option %1; %2").arg(a, kUsage));
        } else if (file.isEmpty()) {
            file = a;
        } else {
            throw CliUsageError(kUsage);
        }
    }
    if (file.isEmpty())
        throw CliUsageError(kUsage);
    if ((haveHeight || haveCurrent) && strip.isEmpty())
        throw CliUsageError(QStringLiteral("--height and --current go with --strip; %1").arg(kUsage));
    if (height < 40 || height > 2000)
        throw CliUsageError(QStringLiteral("--height must be 40 to 2000, not %1").arg(height));
    Cli::requireFile(file);

    TFBDocument document;
    LoadDocumentFromFile(document, file);
    const int views = document.ViewCount();
    if (haveCurrent && (current < 0 || current >= views))
        throw CliUsageError(
            QStringLiteral("view %1 does not exist (the project has %2 views)").arg(current).arg(views));

    QString lines;
    for (int v = 0; v < views; ++v) {
        const bool single = document.ScreenMode == 0;
        const TPagesMenuState menu = PagesRules::MenuState(document, v);
        const auto digit = [](bool on) { return on ? QLatin1Char('1') : QLatin1Char('0'); };
        lines += QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6%7%8\n")
                     .arg(v)
                     .arg(document.ViewCaption(v))
                     .arg(pageText(document, single ? v : document.LeftPageIndex(v)))
                     .arg(single ? QStringLiteral("-") : pageText(document, document.RightPageIndex(v)))
                     .arg(PagesRules::CanMoveView(document, v) ? QStringLiteral("movable")
                                                               : QStringLiteral("fixed"))
                     .arg(digit(menu.InsertBefore))
                     .arg(digit(menu.InsertAfter))
                     .arg(digit(menu.Delete));
    }

    if (!strip.isEmpty()) {
        TCliStripWindow window;
        TPagesStrip panel(&document, window);
        panel.Resize(0, height);
        panel.Refresh();
        panel.ShowView(current);
        const QImage image = panel.PaintStrip();
        if (image.isNull())
            throw CliUsageError(QStringLiteral("not enough memory for the strip of %1 views").arg(views));
        QImageWriter writer(strip, "png");
        if (!writer.write(image))
            throw CliUsageError(QStringLiteral("cannot write %1: %2").arg(strip, writer.errorString()));
    }
    out << lines;
    return 0;
}

CliRegistration reg{CliCommand{
    QStringLiteral("pages"), QStringLiteral("pages FILE [--strip OUT.png [--height H] [--current V]]"),
    QStringLiteral("list the views as the pages panel shows them, or paint its strip"), runPages}};

} // namespace
