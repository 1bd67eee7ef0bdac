// tintaro-cli copy, paste and drop: the page view's clipboard and drop commands on a project, run
// through the same core as the designer on a page view without a window.
//   copy FILE --page P (--frame F | --element E) OUT   writes the bytes Copy puts on the clipboard
//   paste FILE --view V [--page P --frame F] IN        pastes such bytes in view V (into the frame)
//   drop FILE --view V --at X,Y --format NAME --data PAYLOAD [--move]
//                                                      drops the payload at X,Y (view millimetres)
// paste and drop save the project in place atomically; a refused command leaves it untouched.
#include "cli/CliCommand.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "editing/uClipboard.h"
#include "editing/uPageView.h"
#include "editing/uPageViewCommands.h"
#include "editing/uPageViewOffscreen.h"
#include "editing/uPageViewUndo.h"
#include "editing/uTransferData.h"
#include "editing/uUndo.h"
#include "platform/uAtomicFile.h"

#include <QFile>
#include <QMimeData>

#include <cmath>
#include <map>

namespace {

// Options with one value each, and the positional arguments.
struct TArgs {
    std::map<QString, QString> options;
    QStringList positional;
    bool move = false;

    bool has(const char* name) const { return options.count(QString::fromLatin1(name)) > 0; }
    QString value(const char* name) const {
        const auto it = options.find(QString::fromLatin1(name));
        return it == options.end() ? QString() : it->second;
    }
    int number(const char* name) const { return Cli::parseInt(value(name), QString::fromLatin1(name)); }
};

TArgs parse(const QStringList& args, const QStringList& valued, const QString& usage, int positional,
            bool allowMove = false) {
    TArgs parsed;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (allowMove && arg == QLatin1String("--move")) {
            parsed.move = true;
        } else if (valued.contains(arg)) {
            if (i + 1 >= args.size())
                throw CliUsageError(QStringLiteral("%1 needs a value; %2").arg(arg, usage));
            parsed.options[arg] = args[++i];
        } else if (arg.startsWith(QLatin1String("--"))) {
            throw CliUsageError(QStringLiteral("unknown option %1; %2").arg(arg, usage));
        } else {
            parsed.positional << arg;
        }
    }
    if (parsed.positional.size() != positional)
        throw CliUsageError(usage);
    return parsed;
}

QByteArray readBytes(const QString& path, const QString& what) {
    Cli::requireFile(path, what);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw CliUsageError(QStringLiteral("cannot read %1: %2").arg(what, path));
    return file.readAll();
}

// The page view of a run: a headless window, the undo records taking its place, and the command
// window answering for the user.
class TCliView : public TCommandWindow {
public:
    explicit TCliView(TFBDocument& document, QTextStream& out)
        : out_(out), view_(&document, &window_), commands_(view_, *this) {
        window_.Attach(&view_);
        PageViewUndo::Attach(&view_);
        view_.Resize(800, 600);
    }
    ~TCliView() override { PageViewUndo::Detach(&view_); }
    TCliView(const TCliView&) = delete;
    TCliView& operator=(const TCliView&) = delete;

    bool Confirm(const QString&) override { return false; }
    void Report(const QString& line) override { out_ << line << '\n'; }

    TPageView& View() { return view_; }
    TPageViewCommands& Commands() { return commands_; }

    // Shows view v; CliUsageError when the document has no such view.
    void ShowView(const TFBDocument& document, int v) {
        if (v < 0 || v >= document.ViewCount())
            throw CliUsageError(QStringLiteral("view %1 does not exist (the project has %2 views)")
                                    .arg(v)
                                    .arg(document.ViewCount()));
        view_.SetScreen(v);
    }

private:
    QTextStream& out_;
    TOffscreenPageWindow window_;
    TPageView view_;
    TPageViewCommands commands_;
};

TFBPage* pageOf(TFBDocument& document, int p) {
    if (p < 0 || p >= document.Pages.Count())
        throw CliUsageError(QStringLiteral("page %1 does not exist (the project has %2 pages)")
                                .arg(p)
                                .arg(document.Pages.Count()));
    return document.Pages.Items(p);
}

TFBElement* listed(TFBPage* page, const TFBElementList& list, int index, const char* kind) {
    if (index < 0 || index >= list.Count())
        throw CliUsageError(QStringLiteral("%1 %2 does not exist on page %3 (it has %4)")
                                .arg(QLatin1String(kind))
                                .arg(index)
                                .arg(page->PageIndex())
                                .arg(list.Count()));
    return list.Items(index);
}

// The process's own clipboard for the run, whatever was installed.
class TRunClipboard {
public:
    TRunClipboard() : previous_(SetClipboardService(&clipboard_)) {}
    ~TRunClipboard() { SetClipboardService(previous_); }
    TRunClipboard(const TRunClipboard&) = delete;
    TRunClipboard& operator=(const TRunClipboard&) = delete;
    TMemoryClipboard& Get() { return clipboard_; }

private:
    TMemoryClipboard clipboard_;
    TClipboardService* previous_;
};

void saveIfChanged(TFBDocument& document, const QString& path) {
    if (document.Modified)
        SaveDocumentToFile(document, path);
}

// --- copy

const QString kCopyUsage =
    QStringLiteral("usage: tintaro-cli copy FILE --page P (--frame F | --element E) OUT");

int runCopy(const QStringList& args, QTextStream& out) {
    const TArgs parsed =
        parse(args, {QStringLiteral("--page"), QStringLiteral("--frame"), QStringLiteral("--element")},
              kCopyUsage, 2);
    if (!parsed.has("--page") || parsed.has("--frame") == parsed.has("--element"))
        throw CliUsageError(kCopyUsage);
    const QString file = parsed.positional[0];
    const QString target = parsed.positional[1];
    Cli::requireFile(file);
    TFBDocument document;
    LoadDocumentFromFile(document, file);
    TFBPage* page = pageOf(document, parsed.number("--page"));
    TFBElement* element = parsed.has("--frame")
                              ? listed(page, page->Pictures, parsed.number("--frame"), "picture frame")
                              : listed(page, page->Sizeables, parsed.number("--element"), "element");

    TRunClipboard clipboard;
    QString report;
    QTextStream lines(&report);
    TCliView view(document, lines);
    view.View().SetScreen(page->ViewIndex());
    view.View().Select(element);
    if (!view.Commands().CanCopy())
        throw CliUsageError(QStringLiteral("picture frame %1 of page %2 shows no picture")
                                .arg(parsed.value("--frame"), parsed.value("--page")));
    view.Commands().Copy();
    const Transfer::TCopied copied = Transfer::CopyElement(*element);
    const QByteArray bytes = clipboard.Get().Data()->data(copied.Format);
    TAtomicFile writer(target);
    if (writer.write(bytes) != bytes.size())
        throw CliUsageError(QStringLiteral("cannot write %1").arg(target));
    writer.Commit();
    lines.flush();
    out << report;
    return 0;
}

// --- paste

const QString kPasteUsage = QStringLiteral("usage: tintaro-cli paste FILE --view V [--page P --frame F] IN");

int runPaste(const QStringList& args, QTextStream& out) {
    const TArgs parsed =
        parse(args, {QStringLiteral("--view"), QStringLiteral("--page"), QStringLiteral("--frame")},
              kPasteUsage, 2);
    if (!parsed.has("--view") || parsed.has("--page") != parsed.has("--frame"))
        throw CliUsageError(kPasteUsage);
    const QString file = parsed.positional[0];
    Cli::requireFile(file);
    const QByteArray bytes = readBytes(parsed.positional[1], QStringLiteral("clipboard bytes"));
    const std::optional<Transfer::TClipContent> content = Transfer::InspectClipboard(bytes);
    if (!content)
        throw CliUsageError(QStringLiteral("%1 holds no copied element").arg(parsed.positional[1]));

    TFBDocument document;
    LoadDocumentFromFile(document, file);
    TRunClipboard clipboard;
    auto data = std::make_unique<QMimeData>();
    data->setData(Transfer::ClipboardFormatOf(content->ClassName), bytes);
    clipboard.Get().SetData(std::move(data));

    TCliView view(document, out);
    view.ShowView(document, parsed.number("--view"));
    if (parsed.has("--page")) {
        TFBPage* page = pageOf(document, parsed.number("--page"));
        if (!view.View().InCurrentView(page))
            throw CliUsageError(QStringLiteral("page %1 is not on view %2")
                                    .arg(page->PageIndex())
                                    .arg(view.View().ViewIndex()));
        view.View().Select(listed(page, page->Pictures, parsed.number("--frame"), "picture frame"));
    }
    view.Commands().Paste();
    saveIfChanged(document, file);
    return 0;
}

// --- drop

const QString kDropUsage =
    QStringLiteral("usage: tintaro-cli drop FILE --view V --at X,Y --format NAME --data PAYLOAD [--move]");

TFBPointF parsePoint(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    bool okX = false, okY = false;
    const float x = parts.size() == 2 ? parts[0].toFloat(&okX) : 0;
    const float y = parts.size() == 2 ? parts[1].toFloat(&okY) : 0;
    if (!okX || !okY || !std::isfinite(x) || !std::isfinite(y))
        throw CliUsageError(
            QStringLiteral("--at takes X,Y in millimetres of the view, not \"%1\"").arg(text));
    return {x, y};
}

int runDrop(const QStringList& args, QTextStream& out) {
    const TArgs parsed = parse(args,
                               {QStringLiteral("--view"), QStringLiteral("--at"), QStringLiteral("--format"),
                                QStringLiteral("--data")},
                               kDropUsage, 1, true);
    if (!parsed.has("--view") || !parsed.has("--at") || !parsed.has("--format") || !parsed.has("--data"))
        throw CliUsageError(kDropUsage);
    const QString format = parsed.value("--format");
    const QStringList formats = {TransferFormat::FileList,     TransferFormat::UriList,
                                 TransferFormat::PageTemplate, TransferFormat::Color,
                                 TransferFormat::Pic,          TransferFormat::Clipart};
    if (!formats.contains(format))
        throw CliUsageError(
            QStringLiteral("--format takes %1, not \"%2\"").arg(formats.join(QStringLiteral(", ")), format));
    const QString file = parsed.positional[0];
    Cli::requireFile(file);
    const TFBPointF at = parsePoint(parsed.value("--at"));
    auto data = std::make_unique<QMimeData>();
    data->setData(format, readBytes(parsed.value("--data"), QStringLiteral("payload")));

    TFBDocument document;
    LoadDocumentFromFile(document, file);
    UndoManager().Clear();
    TCliView view(document, out);
    view.ShowView(document, parsed.number("--view"));
    const TDropEffect proposed = parsed.move ? TDropEffect::Move : TDropEffect::Copy;
    view.Commands().Drop(*data, at, true, proposed);
    out << "undo records: " << UndoManager().Count() << '\n';
    saveIfChanged(document, file);
    return 0;
}

CliRegistration copyReg{
    CliCommand{QStringLiteral("copy"), QStringLiteral("copy FILE --page P (--frame F | --element E) OUT"),
               QStringLiteral("write the clipboard bytes of copying a frame or element"), runCopy}};
CliRegistration pasteReg{
    CliCommand{QStringLiteral("paste"), QStringLiteral("paste FILE --view V [--page P --frame F] IN"),
               QStringLiteral("paste copied clipboard bytes into a view and save in place"), runPaste}};
CliRegistration dropReg{CliCommand{
    QStringLiteral("drop"),
    QStringLiteral("drop FILE --view V --at X,Y --format NAME --data PAYLOAD [--move]"),
    QStringLiteral("drop files, a layout, a colour, a frame's picture or clipart and save in place"),
    runDrop}};

} // namespace
