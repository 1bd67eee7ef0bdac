// The main window's own wizard at start-up: shown modally without a project, not with one.
#include "app/ui/FMainform.h"
#include "catalogue/ui/FDateiNeuDlg.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "support/TempHome.h"

#include "ScriptedPrompts.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// What the modal window looked like when the start-up had shown it, if it did.
struct ModalSeen {
    bool Seen = false;
    bool IsWizard = false;
    bool Modal = false;
    QWidget* Owner = nullptr;
    QPoint Centre;
};

// Watches for a modal window while the start-up runs and cancels it through its button.
void watchForModal(ModalSeen& seen, QObject* context) {
    QTimer::singleShot(0, context, [&seen] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        seen.Seen = true;
        auto* wizard = qobject_cast<TDateiNeuDlg*>(modal);
        seen.IsWizard = wizard != nullptr;
        seen.Modal = modal->isModal();
        seen.Owner = modal->parentWidget();
        seen.Centre = modal->geometry().center();
        if (auto* cancel = modal->findChild<QPushButton*>(QStringLiteral("btnAbbrechen")))
            QTest::mouseClick(cancel, Qt::LeftButton);
        else
            modal->close();
    });
}

} // namespace

TEST(WizardAtStartup, WithoutAProjectTheMainWindowShowsItsWizardModally) {
    TestSupport::TempHome home;
    ScriptedPrompts prompts;
    TMaster master(&prompts);
    master.setGeometry(100, 80, 1000, 700);
    master.show();
    ModalSeen seen;
    watchForModal(seen, &master);
    master.StartWith({});
    EXPECT_TRUE(seen.Seen);
    EXPECT_TRUE(seen.IsWizard);
    EXPECT_TRUE(seen.Modal);
    EXPECT_EQ(seen.Owner, &master);
    const QPoint centre = master.geometry().center();
    EXPECT_LE((seen.Centre - centre).manhattanLength(), 2);
}

TEST(WizardAtStartup, AnExistingProjectOpensWithoutTheWizard) {
    TestSupport::TempHome home;
    const QString project = QDir(qEnvironmentVariable("HOME")).filePath(QStringLiteral("Start.fbp"));
    {
        TFBDocument document;
        document.Dokumentname = QStringLiteral("Start");
        SaveDocumentToFile(document, project);
    }
    ScriptedPrompts prompts;
    TMaster master(&prompts);
    master.show();
    ModalSeen seen;
    watchForModal(seen, &master);
    master.StartWith({project});
    QCoreApplication::processEvents();
    EXPECT_FALSE(seen.Seen);
    EXPECT_EQ(master.Document().FilePath, project);
}
