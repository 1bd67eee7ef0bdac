#include "TestSupport.h"

#include "document/uColorList.h"
#include "document/uFotobuchBildManager.h"
#include "editing/uMulticaster.h"
#include "editing/uTextEditing.h"
#include "editing/uUndo.h"
#include "i18n/ulocalize.h"
#include "platform/uInfoausgabe.h"
#include "support/GuiTest.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>

#include <gtest/gtest.h>

namespace TestSupport {

CliResult runCli(const QStringList& args, const QByteArray& input) {
    CliResult result;
    QProcess process;
    process.start(QStringLiteral(TINTARO_CLI_PATH), args);
    if (!process.waitForStarted(10000))
        return result;
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(120000);
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

QString dataPath(const QString& name) {
    return QDir(QStringLiteral(TINTARO_TEST_DATA)).filePath(name);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

void ResetProcessWideState() {
    // Widgets a test gave away with deleteLater go now, before anything they watch is reset.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    UndoManager().OnChanged = nullptr;
    UndoManager().SetUIState(nullptr);
    UndoManager().Clear();
    Multicaster().Clear();
    InfoAusgabe().SetTarget(nullptr);
    TBildmanager::Instance().SetFilterHost(nullptr);
    TBildmanager::Instance().Clear();
    TColorList::Instance().Clear();
    TDefaultWerte::Instance() = TDefaultWerte();
    Localizer().SetAvailable(kInitialAvailable);
    Localizer().SetResWrite(false, QString());
    SetCurrentLanguage(kLanguageGerman);
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

} // namespace TestSupport
