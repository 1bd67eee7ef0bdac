// tintaro-cli lang list | show CODE | check | glyphs CODE OUT.png | template OUT
// tintaro-cli translate [--section S] TEXT...
// The language tables as the designer reads them. The tool shows German unless "--lang CODE"
// precedes the command; it reads every shipped table, also those the designer does not offer.
#include "cli/CliCommand.h"
#include "i18n/uGlyphSheet.h"
#include "i18n/uTableCheck.h"
#include "i18n/ulocalize.h"
#include "platform/Exception.h"

#include <QBuffer>
#include <QImage>
#include <QSaveFile>

namespace {

int languageOf(const QString& code) {
    const int index = TLocalizer::IndexOfCode(code);
    if (index < 0 || !Localizer().HasTable(index))
        throw CliUsageError(QStringLiteral("unknown language \"%1\"").arg(code));
    return index;
}

int runList(QTextStream& out) {
    for (int i = 0; i < kLanguageCount; ++i) {
        const bool offered = (kDesignerAvailable >> i & 1u) && Localizer().HasTable(i);
        out << i << '\t' << TLocalizer::CodeOf(i) << '\t' << QStringLiteral("0x")
            << QString::number(kLanguages[static_cast<std::size_t>(i)].PrimaryId, 16)
                   .toUpper()
                   .rightJustified(2, u'0')
            << '\t' << (offered ? "available" : "-") << '\n';
    }
    return 0;
}

int runShow(const QString& code, QTextStream& out) {
    TMyMemIniFile table;
    if (!Localizer().LoadTable(languageOf(code), table))
        throw CliUsageError(QStringLiteral("cannot read the table \"%1\"").arg(code));
    QStringList sections;
    table.ReadSections(sections);
    for (const QString& section : sections) {
        out << '[' << section << "]\n";
        QStringList lines;
        table.ReadSectionValues(section, lines);
        for (const QString& line : lines)
            out << line << '\n';
        out << '\n';
    }
    return 0;
}

int runCheck(QTextStream& out) {
    const TTableCheckResult result = CheckLanguageTables(Localizer(), false);
    QStringList problems = result.Problems;
    problems << Localizer().RegistrationProblems();
    if (problems.isEmpty()) {
        out << result.Tables << " tables, " << result.Sections << " sections, " << result.Entries
            << " entries each\n";
        return 0;
    }
    for (const QString& problem : problems)
        out << problem << '\n';
    throw CliUsageError(QStringLiteral("%1 problems").arg(problems.size()));
}

int runGlyphs(const QString& code, const QString& path) {
    const int index = TLocalizer::IndexOfCode(code); // every language has glyphs, table or not
    if (index < 0)
        throw CliUsageError(QStringLiteral("unknown language \"%1\"").arg(code));
    const int row = GlyphRowOf(index);
    const QImage glyphs = GlyphSheet().copy(0, 16 * row, 48, 16);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !glyphs.save(&file, "PNG") || !file.commit())
        throw CliUsageError(QStringLiteral("cannot write %1").arg(path));
    return 0;
}

int runTemplate(const QString& path) {
    TMyMemIniFile table;
    Localizer().BuildTemplate(table);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw CliUsageError(QStringLiteral("cannot write %1").arg(path));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    table.SaveToStream(buffer);
    file.write(buffer.data());
    if (!file.commit())
        throw CliUsageError(QStringLiteral("cannot write %1").arg(path));
    return 0;
}

int runLang(const QStringList& args, QTextStream& out) {
    const QString usage = QStringLiteral(
        "usage: tintaro-cli lang list | show CODE | check | glyphs CODE OUT.png | template OUT");
    const QString what = args.value(0);
    if (what == QLatin1String("list") && args.size() == 1)
        return runList(out);
    if (what == QLatin1String("show") && args.size() == 2)
        return runShow(args[1], out);
    if (what == QLatin1String("check") && args.size() == 1)
        return runCheck(out);
    if (what == QLatin1String("glyphs") && args.size() == 3)
        return runGlyphs(args[1], args[2]);
    if (what == QLatin1String("template") && args.size() == 2)
        return runTemplate(args[1]);
    throw CliUsageError(usage);
}

int runTranslate(const QStringList& args, QTextStream& out) {
    QStringList texts = args;
    QString section = QString::fromLatin1(kDefaultSection);
    if (texts.value(0) == QLatin1String("--section")) {
        if (texts.size() < 2)
            throw CliUsageError(QStringLiteral("--section needs a section name"));
        section = texts[1];
        texts = texts.mid(2);
    }
    if (texts.isEmpty())
        throw CliUsageError(QStringLiteral("usage: tintaro-cli translate [--section S] TEXT..."));
    for (const QString& text : texts)
        out << TLocalizer::Escape(TranslateText(section, text)) << '\n';
    return 0;
}

CliRegistration regLang{CliCommand{
    QStringLiteral("lang"), QStringLiteral("lang list|show CODE|check|glyphs CODE OUT|template OUT"),
    QStringLiteral("the language tables: list, show, check, glyphs, template"), runLang}};
CliRegistration regTranslate{
    CliCommand{QStringLiteral("translate"), QStringLiteral("translate [--section S] TEXT..."),
               QStringLiteral("texts as the current language shows them"), runTranslate}};

} // namespace
