// tintaro-cli: the designer's core from the command line. Exit code 0 on success, 2 with a
// one-line message on stderr for bad input or a failed operation.
#include "Version.h"
#include "cli/CliCommand.h"
#include "i18n/uCoreTexts.h"
#include "i18n/ulocalize.h"
#include "platform/Exception.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

namespace {

void printHelp(QTextStream& out) {
    out << "Usage: tintaro-cli COMMAND [ARGUMENTS]\n"
        << "       tintaro-cli [--lang CODE] COMMAND [ARGUMENTS]   (texts in German unless CODE)\n"
        << "       tintaro-cli --help | --version\n\n"
        << "Commands:\n";
    for (const CliCommand& command : CliRegistry::instance().commands())
        out << "  " << command.usage.leftJustified(44) << " " << command.summary << "\n";
}

// Qt's own notes (such as a missing XDG_RUNTIME_DIR under the offscreen platform) would break
// the one-line error contract on stderr; they are shown only when tracing is asked for.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg || std::getenv("TINTARO_TRACE"))
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

int fail(const QString& message) {
    std::fprintf(stderr, "tintaro-cli: %s\n", message.simplified().toUtf8().constData());
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    // Rendering and font metrics need a GUI application, never a display.
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(quietMessages);
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("tintaro-cli"));

    QStringList args = QGuiApplication::arguments().mid(1);
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);

    SetCoreTextsRegistration(RegisterCoreTexts);
    int language = kLanguageGerman;
    if (args.value(0) == QLatin1String("--lang")) {
        if (args.size() < 2)
            return fail(QStringLiteral("--lang needs a language code"));
        language = TLocalizer::IndexOfCode(args[1]);
        if (language < 0 || !Localizer().HasTable(language))
            return fail(QStringLiteral("unknown language \"%1\"").arg(args[1]));
        args = args.mid(2);
    }
    SetCurrentLanguage(language);
    if (args.isEmpty())
        return fail(QStringLiteral("no command given; see tintaro-cli --help"));
    const QString name = args.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
        printHelp(out);
        return 0;
    }
    if (name == QLatin1String("--version")) {
        out << "tintaro-cli " << TINTARO_VERSION << "\n";
        return 0;
    }
    const CliCommand* command = CliRegistry::instance().find(name);
    if (!command)
        return fail(QStringLiteral("unknown command \"%1\"; see tintaro-cli --help").arg(name));
    try {
        const int rc = command->run(args, out);
        out.flush();
        return rc;
    } catch (const CliUsageError& e) {
        out.flush();
        return fail(QString::fromUtf8(e.what()));
    } catch (const Exception& e) {
        out.flush();
        return fail(e.message());
    } catch (const std::exception& e) {
        out.flush();
        return fail(QString::fromUtf8(e.what()));
    }
}
