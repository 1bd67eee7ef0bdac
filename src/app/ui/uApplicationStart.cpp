#include "app/ui/uApplicationStart.h"

#include "app/uRecoveryStore.h"
#include "app/uStartup.h"
#include "app/ui/FMainform.h"
#include "app/ui/FStartbild.h"
#include "app/ui/uWidgetDump.h"
#include "document/uColorList.h"
#include "document/ui/uColorDialog.h"
#include "editing/uClipartStarterSet.h"
#include "filters/ui/uPictureFilterHost.h"
#include "i18n/ui/uLocalizerUi.h"
#include "platform/Exception.h"
#include "platform/uDebug.h"
#include "platform/uFileAssociation.h"
#include "platform/uInfoausgabe.h"
#include "platform/uProgramInfo.h"
#include "platform/uVXRegIniFile.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QThread>

#include <memory>

namespace {

// The application's default error report: an error that no command handled ends the event that
// raised it and is shown to the user, instead of ending the program.
class TApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const Exception& e) {
            Report(e.message());
        } catch (const std::exception& e) {
            Report(QString::fromLocal8Bit(e.what()));
        }
        return false;
    }

private:
    static void Report(const QString& message) {
        Debug().Trace(QStringLiteral("Fehler: ") + message);
        // Whatever the failed operation left open: the progress window, the hourglass.
        InfoAusgabe().Info(QString());
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
        QMessageBox::critical(QApplication::activeWindow(), ProgramInfo::ApplicationTitle(), message);
    }
};

QString TraceTimestamp() {
    return QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}

// The splash stays up at least the minimum time after it was shown; window messages keep being
// processed meanwhile so that both windows paint.
class TSplash {
public:
    void ShowSplash() {
        shown_.start();
        splash_ = std::make_unique<TStartbild>();
        splash_->show();
        splash_->repaint();
    }

    void CloseSplash(QWidget& master) {
        master.show();
        master.repaint();
        const qint64 minimum = Startup::SplashMinimumMs();
        while (shown_.elapsed() < minimum) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(10);
        }
        splash_->hide();
        splash_.reset();
    }

private:
    QElapsedTimer shown_;
    std::unique_ptr<TStartbild> splash_;
};

} // namespace

int RunApplication(int argc, char** argv) {
    Debug().Trace(QStringLiteral("**** BEGINN ****\t%1 **** ").arg(TraceTimestamp()));
    int exitCode = 0;
    {
        TApplication app(argc, argv);
        // Checks from outside ask for a description of the windows through SIGUSR1.
        const auto widgetDump = TWidgetDumpTrigger::InstallFromEnvironment();
        // The localizer exists before the main window, which chooses the start language.
        LocalizerUi::Install(QApplication::arguments().mid(1));
        RecordInstallation();
        InstallColorDialog();
        InstallPictureFilterHost();
        // The clipart browser has something to show from the first start on.
        ClipartStarterSet::InstallIfMissing();

        // The desktop opens project files with this program. Failures are of no consequence.
        const auto association = FileAssociation::RegisterFileType(
            FileAssociation::ForThisProgram(QStringLiteral("fbp"), ProgramInfo::ApplicationTitle()),
            FileAssociation::RunToolIfInstalled);

        // Outlives the main window, which writes its recovery copies into it.
        TRecoveryStore recovery;
        TMaster master;
        master.EnableAutosave(recovery);
        master.setEnabled(false);

        TSplash splash;
        splash.ShowSplash();
        master.show();
        master.repaint();
        splash.CloseSplash(master);
        master.repaint();
        master.setEnabled(true);
        if (association.changed())
            master.raise(); // the desktop was told about the new association

        master.StartWith(QApplication::arguments().mid(1));
        exitCode = app.exec();
        LocalizerUi::Shutdown();
    }
    TColorList::Finalize();
    TDebug::shutdown();
    return exitCode;
}
