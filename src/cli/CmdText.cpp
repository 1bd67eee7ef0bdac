// tintaro-cli text FILE --page P --element E --plain TEXT [--font NAME] [--size PT] [--bold]
// [--italic] [--underline] [--color RRGGBB]: sets the content of a text element the way the text
// panel stores it and saves the project in place.
#include "cli/CliCommand.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "editing/uTextEditing.h"
#include "widgets/uFontSizeText.h"

#include <QRegularExpression>

namespace {

const QString kUsage = QStringLiteral(
    "usage: tintaro-cli text FILE --page P --element E --plain TEXT [--font NAME] [--size PT] [--bold] "
    "[--italic] [--underline] [--color RRGGBB]");

struct TTextArgs {
    QString File;
    int Page = -1;
    int Element = -1;
    bool HavePlain = false;
    QString Plain;
    TFont Font = TDefaultWerte::Instance().Font;
};

TTextArgs parse(const QStringList& args) {
    TTextArgs parsed;
    bool havePage = false, haveElement = false;
    TFontStyles style = 0;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const auto value = [&]() -> const QString& {
            if (i + 1 >= args.size())
                throw CliUsageError(QStringLiteral("%1 needs a value; %2").arg(arg, kUsage));
            return args[++i];
        };
        if (arg == QLatin1String("--page")) {
            parsed.Page = Cli::parseInt(value(), arg);
            havePage = true;
        } else if (arg == QLatin1String("--element")) {
            parsed.Element = Cli::parseInt(value(), arg);
            haveElement = true;
        } else if (arg == QLatin1String("--plain")) {
            parsed.Plain = value();
            parsed.HavePlain = true;
        } else if (arg == QLatin1String("--font")) {
            const QString name = value().trimmed();
            if (name.isEmpty())
                throw CliUsageError(QStringLiteral("--font needs a font name"));
            parsed.Font.SetName(name);
        } else if (arg == QLatin1String("--size")) {
            const int points = Cli::parseInt(value(), arg);
            if (!TextEditing::IsAcceptedFontSize(points))
                throw CliUsageError(QStringLiteral("--size must be from %1 to %2 points, not %3")
                                        .arg(1)
                                        .arg(kMaxFontSize)
                                        .arg(points));
            parsed.Font.SetSize(points);
        } else if (arg == QLatin1String("--bold")) {
            style |= fsBold;
        } else if (arg == QLatin1String("--italic")) {
            style |= fsItalic;
        } else if (arg == QLatin1String("--underline")) {
            style |= fsUnderline;
        } else if (arg == QLatin1String("--color")) {
            const QString hex = value();
            static const QRegularExpression rgb(QStringLiteral("^[0-9A-Fa-f]{6}$"));
            if (!rgb.match(hex).hasMatch())
                throw CliUsageError(
                    QStringLiteral("--color takes RRGGBB in hexadecimal, not \"%1\"").arg(hex));
            const uint value24 = hex.toUInt(nullptr, 16);
            // RRGGBB on the command line, 0x00BBGGRR in the font.
            parsed.Font.SetColor(qint32((value24 >> 16) | (value24 & 0xFF00) | (value24 & 0xFF) << 16));
        } else if (parsed.File.isEmpty() && !arg.startsWith(QLatin1String("--"))) {
            parsed.File = arg;
        } else {
            throw CliUsageError(QStringLiteral("unexpected argument \"%1\"; %2").arg(arg, kUsage));
        }
    }
    if (parsed.File.isEmpty() || !havePage || !haveElement || !parsed.HavePlain)
        throw CliUsageError(kUsage);
    parsed.Font.SetStyle(style);
    return parsed;
}

TFBTextElement& textElement(TFBDocument& document, int page, int element) {
    const int pages = document.Pages.Count();
    if (page < 0 || page >= pages)
        throw CliUsageError(
            QStringLiteral("page %1 does not exist (the project has %2 pages)").arg(page).arg(pages));
    TFBPage* p = document.Pages.Items(page);
    const int count = p->Sizeables.Count();
    if (element < 0 || element >= count)
        throw CliUsageError(QStringLiteral("element %1 does not exist on page %2 (it has %3)")
                                .arg(element)
                                .arg(page)
                                .arg(count));
    auto* text = dynamic_cast<TFBTextElement*>(p->Sizeables.Items(element));
    if (!text)
        throw CliUsageError(
            QStringLiteral("element %1 of page %2 is not a text element").arg(element).arg(page));
    return *text;
}

int runText(const QStringList& args, QTextStream& out) {
    const TTextArgs parsed = parse(args);
    Cli::requireFile(parsed.File);
    TFBDocument document;
    LoadDocumentFromFile(document, parsed.File);
    TFBTextElement& element = textElement(document, parsed.Page, parsed.Element);
    TextEditing::StoreText(element, TextEditing::PlainTextAsRTF(parsed.Plain, parsed.Font), nullptr);
    SaveDocumentToFile(document, parsed.File);
    out << "text element " << parsed.Element << " on page " << parsed.Page << ": " << element.RTF().size()
        << " bytes of rich text\n";
    return 0;
}

CliRegistration reg{CliCommand{
    QStringLiteral("text"), QStringLiteral("text FILE --page P --element E --plain TEXT [...]"),
    QStringLiteral(
        "set a text element's text in one font (--font, --size, --bold, --italic, --underline, --color)"),
    runText}};

} // namespace
