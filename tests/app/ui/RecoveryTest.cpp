// Crash recovery end to end: a designer killed after scripted edits leaves a copy of its work,
// the next start offers it, restoring opens it as the unsaved project it stands for, "Verwerfen"
// removes it and a clean close leaves nothing behind.
#include "app/uAutosave.h"
#include "app/uRecoveryStore.h"
#include "app/ui/FMainform.h"
#include "app/ui/FWiederherstellungDlg.h"
#include "document/uDataFile.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "i18n/ulocalize.h"
#include "support/GuiTest.h"
#include "support/SampleDocument.h"
#include "support/TestSupport.h"
#include "support/XcbPointer.h"

#include "ScriptedPrompts.h"
#include "support/WidgetDumpJson.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <csignal>
#include <iostream>
#include <utility>
#include <vector>

namespace {

using TestSupport::readFile;
using TestSupport::waitFor;

QString screenshotPath(const QString& name) {
    QDir dir(QFileInfo(QStringLiteral(TINTARO_CLI_PATH)).absolutePath() + QStringLiteral("/../screenshots"));
    dir.mkpath(QStringLiteral("."));
    return dir.absoluteFilePath(name);
}

// Every item as "section|key|data", sorted; the pictures' sections are named by their reference,
// and their "Age" (the store's order of use, not the user's work) is left out.
QStringList storedItems(const QString& path) {
    TDataFile file(path, TDataFile::OpenMode::ReadOnly);
    QStringList items;
    for (const TDataFileCacheItem& item : file.CacheItems()) {
        QString section = item.Section;
        if (section.startsWith(QStringLiteral("BildManager/Bild"))) {
            if (item.Key == QStringLiteral("Age"))
                continue;
            section =
                QStringLiteral("Bild ref %1").arg(file.ReadInteger(section, QStringLiteral("RefIndex"), -1));
        }
        QByteArray data;
        file.ReadBuffer(item.Section, item.Key, data);
        items << section + u'|' + item.Key + u'|' + QString::fromLatin1(data.toHex());
    }
    items.sort();
    return items;
}

QStringList filesIn(const QString& folder, const QString& pattern) {
    return QDir(folder).entryList({pattern}, QDir::Files);
}

// The rest of the line that starts with the word, once the process has written it; empty when it
// did not within the time.
QString waitForLine(QProcess& process, const QByteArray& word, int ms) {
    QByteArray seen;
    const bool found = waitFor(
        [&] {
            seen += process.readAllStandardOutput();
            const qsizetype at = seen.indexOf(word);
            return at >= 0 && seen.indexOf('\n', at) > at;
        },
        ms);
    if (!found) {
        std::cerr << "the designer said: " << seen.constData() << std::endl;
        return {};
    }
    const qsizetype at = seen.indexOf(word) + word.size();
    return QString::fromUtf8(seen.mid(at, seen.indexOf('\n', at) - at)).trimmed();
}

class Recovery : public TestSupport::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        for (const auto& [name, value] : kEnvironment) {
            saved_.push_back(qgetenv(name));
            qputenv(name, value);
        }
        qputenv("XDG_STATE_HOME", (home.path() + QStringLiteral("/state")).toUtf8());
        folder = TRecoveryStore::DefaultFolder();
    }
    void TearDown() override {
        for (size_t i = 0; i < saved_.size(); ++i) {
            if (saved_[i].isNull())
                qunsetenv(kEnvironment[i].first);
            else
                qputenv(kEnvironment[i].first, saved_[i]);
        }
        GuiTest::TearDown();
    }

    // A main window that keeps recovery copies in the store and does not show the wizard.
    std::unique_ptr<TMaster> startMaster(ScriptedPrompts& prompts, TRecoveryStore& store) {
        auto master = std::make_unique<TMaster>(&prompts);
        master->SetNewProjectWizard([this](TFBDocument&) {
            ++wizardRuns;
            return 2;
        });
        master->EnableAutosave(store);
        master->show();
        return master;
    }

    QString folder;
    int wizardRuns = 0;

private:
    // The state folder below the test's home, copies every 300 ms, a German desktop (for the
    // designer started from here).
    static constexpr std::pair<const char*, const char*> kEnvironment[] = {{"XDG_STATE_HOME", ""},
                                                                           {"TINTARO_AUTOSAVE_MS", "300"},
                                                                           {"LANGUAGE", "de"},
                                                                           {"LC_ALL", "de_DE.UTF-8"}};
    std::vector<QByteArray> saved_;
};

} // namespace

// The designer that the test below kills: it opens the project, edits it, waits for its recovery
// copy and saves what the copy must hold elsewhere, the ordinary way.
TEST(RecoveryPeer, Designer) {
    const QString project = qEnvironmentVariable("TINTARO_RECOVERY_PEER");
    if (project.isEmpty())
        GTEST_SKIP() << "runs only as the designer that Recovery.AKilledDesigner... kills";
    ScriptedPrompts prompts;
    TRecoveryStore store;
    TMaster master(&prompts);
    master.EnableAutosave(store);
    master.show();
    master.StartWith({project});
    ASSERT_EQ(master.Document().FilePath, project);
    master.BtnTextEinfuegenClick();
    master.BtnSeiteVorClick();
    master.BtnBlattausrichtungClick();
    ASSERT_TRUE(master.Document().Modified);
    TAutosave& autosave = *master.Autosave();
    ASSERT_TRUE(waitFor(
        [&] { return !autosave.CurrentCopy().isEmpty() && !autosave.Schedule().HasPending(); }, 20000));
    autosave.WaitIdle();
    SaveDocumentToFile(master.Document(), qEnvironmentVariable("TINTARO_RECOVERY_EXPECTED"));
    std::cout << "READY " << store.Run().toStdString() << std::endl;
    waitFor([] { return false; }, 120000); // until it is killed
}

TEST_F(Recovery, AKilledDesignerLeavesItsWorkWhichTheNextStartOffersAndRestoresUnsaved) {
    const QString project = home.path() + QStringLiteral("/Urlaub.fbp");
    {
        TFBDocument document;
        SampleDocument::fill(document, home.path());
        SaveDocumentToFile(document, project);
    }
    const QByteArray projectBytes = readFile(project);
    const QString expected = home.path() + QStringLiteral("/erwartet.fbp");

    // The designer edits, writes its copy and is killed.
    QProcess designer;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TINTARO_RECOVERY_PEER"), project);
    env.insert(QStringLiteral("TINTARO_RECOVERY_EXPECTED"), expected);
    designer.setProcessEnvironment(env);
    designer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    designer.start(QCoreApplication::applicationFilePath(),
                   {QStringLiteral("--gtest_filter=RecoveryPeer.Designer")});
    const QString killedRun = waitForLine(designer, "READY", 60000);
    ASSERT_FALSE(killedRun.isEmpty());
    ::kill(static_cast<pid_t>(designer.processId()), SIGKILL);
    ASSERT_TRUE(designer.waitForFinished(10000));

    const QStringList copies = filesIn(folder, QStringLiteral("*.fbp"));
    ASSERT_EQ(copies.size(), 1);
    EXPECT_TRUE(copies[0].startsWith(QStringLiteral("Urlaub-"))) << copies[0].toStdString();
    const QString copy = folder + QLatin1Char('/') + copies[0];
    EXPECT_EQ(storedItems(copy), storedItems(expected)) << "the copy holds the edited document";
    EXPECT_NE(storedItems(expected), storedItems(project)) << "the edits changed the document";
    EXPECT_EQ(readFile(project), projectBytes) << "the user's file is untouched";

#ifdef TINTARO_DESIGNER_PATH
    {
        // The next start of the real program offers the copy.
        const QString dump = home.path() + QStringLiteral("/dump.json");
        QProcess next;
        QProcessEnvironment nextEnv = QProcessEnvironment::systemEnvironment();
        nextEnv.insert(QStringLiteral("TINTARO_WIDGET_DUMP"), dump);
        nextEnv.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        nextEnv.insert(QStringLiteral("TINTARO_SPLASH_MS"), QStringLiteral("0"));
        next.setProcessEnvironment(nextEnv);
        next.start(QStringLiteral(TINTARO_DESIGNER_PATH), {});
        ASSERT_TRUE(next.waitForStarted(10000));
        // Its lock appears once the main window exists, after the dump's signal handler is in place.
        ASSERT_TRUE(waitFor(
            [&] {
                QStringList locks = filesIn(folder, QStringLiteral("*.lock"));
                locks.removeAll(killedRun + QStringLiteral(".lock"));
                return !locks.isEmpty();
            },
            30000));
        QJsonObject dialog;
        const bool offered = waitFor(
            [&] {
                ::kill(static_cast<pid_t>(next.processId()), SIGUSR1);
                QTest::qWait(300);
                const QJsonObject all = QJsonDocument::fromJson(readFile(dump)).object();
                for (const QJsonValue& window : all.value(QLatin1String("windows")).toArray())
                    if (window.toObject().value(QLatin1String("objectName")).toString() ==
                        QStringLiteral("WiederherstellungDlg"))
                        dialog = window.toObject();
                return !dialog.isEmpty() && dialog.value(QLatin1String("visible")).toBool();
            },
            30000);
        ::kill(static_cast<pid_t>(next.processId()), SIGKILL);
        next.waitForFinished(10000);
        ASSERT_TRUE(offered) << "the dialog was not shown: " << readFile(dump).left(400).constData();
        EXPECT_EQ(TestSupport::findNamed(dialog, QStringLiteral("lvKopien"))
                      .value(QLatin1String("items"))
                      .toArray(),
                  (QJsonArray{QStringLiteral("Urlaub.fbp")}));
        EXPECT_EQ(TestSupport::findNamed(dialog, QStringLiteral("btnWiederherstellen"))
                      .value(QLatin1String("text"))
                      .toString(),
                  QStringLiteral("Projekt wiederherstellen"));
        EXPECT_EQ(filesIn(folder, QStringLiteral("*.fbp")), copies) << "offering changes nothing";
    }
#endif

    // "Projekt wiederherstellen": the project is open unsaved with its own path and no wizard runs.
    ScriptedPrompts prompts;
    prompts.recoveryAnswers = {{TRecoveryAnswer::TAction::Restore, 0}};
    TRecoveryStore store;
    std::unique_ptr<TMaster> master = startMaster(prompts, store);
    master->StartWith({});
    ASSERT_EQ(prompts.recoveryOffers.size(), 1u);
    ASSERT_EQ(prompts.recoveryOffers[0].size(), 1u);
    EXPECT_EQ(prompts.recoveryOffers[0][0].OriginalPath, project);
    EXPECT_EQ(wizardRuns, 0);
    TFBDocument& document = master->Document();
    EXPECT_EQ(document.FilePath, project);
    EXPECT_TRUE(document.Modified);
    EXPECT_EQ(master->windowTitle(), TMaster::CaptionFor(project));
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join(u'\n').toStdString();

    // Save writes the project's own file without asking, with the edits, and the copy goes.
    master->BtnAlbumSpeichernClick();
    EXPECT_EQ(prompts.saveDialogs, 0);
    EXPECT_FALSE(document.Modified);
    EXPECT_EQ(storedItems(project), storedItems(expected));
    master->Autosave()->WaitIdle();
    EXPECT_TRUE(filesIn(folder, QStringLiteral("*.fbp")).isEmpty());

    // A new change gets its copy; "No" at the close removes it, and the run leaves no lock.
    master->BtnBlattausrichtungClick();
    ASSERT_TRUE(waitFor([&] { return filesIn(folder, QStringLiteral("*.fbp")).size() == 1; }, 10000));
    prompts.answers = {TMasterPrompts::TAnswer::No};
    master->close();
    EXPECT_EQ(prompts.questions.size(), 1);
    EXPECT_TRUE(filesIn(folder, QStringLiteral("*.fbp")).isEmpty());
    EXPECT_TRUE(filesIn(folder, QStringLiteral("*.json")).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(folder + QLatin1Char('/') + store.Run() + QStringLiteral(".lock")));
    master.reset();
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty())
        << QDir(folder).entryList(QDir::Files).join(u' ').toStdString();
}

TEST_F(Recovery, ADamagedCopyIsOfferedFailsToOpenWithTheUsualMessageAndDiscardRemovesIt) {
    QDir().mkpath(folder);
    const QString copy = folder + QStringLiteral("/Urlaub-0badc0de-0123456789ab.fbp");
    QByteArray damaged("VX DataFile\0\0\0\0\0\x01\0\0\0", 20);
    damaged += QByteArray(400, '\x7f');
    TestSupport::writeFile(copy, damaged);
    TestSupport::writeFile(
        copy + QStringLiteral(".json"),
        QJsonDocument(QJsonObject{{QStringLiteral("Original"), home.path() + QStringLiteral("/Urlaub.fbp")},
                                  {QStringLiteral("Run"), QStringLiteral("0123456789ab")}})
            .toJson());

    {
        // "Später" keeps it for the next start; the wizard runs as usual.
        ScriptedPrompts prompts;
        prompts.recoveryAnswers = {{TRecoveryAnswer::TAction::Later, 0}};
        TRecoveryStore store;
        std::unique_ptr<TMaster> master = startMaster(prompts, store);
        master->StartWith({});
        EXPECT_EQ(prompts.recoveryOffers.size(), 1u);
        EXPECT_EQ(wizardRuns, 1);
    }
    ASSERT_TRUE(QFileInfo::exists(copy));

    ScriptedPrompts prompts;
    prompts.recoveryAnswers = {{TRecoveryAnswer::TAction::Restore, 0},
                               {TRecoveryAnswer::TAction::Discard, 0}};
    TRecoveryStore store;
    std::unique_ptr<TMaster> master = startMaster(prompts, store);
    master->StartWith({});
    // The failed restore showed the load's message and offered the copy again.
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].contains(QStringLiteral("Invalid file format.")) ||
                prompts.errors[0].contains(QStringLiteral("unvollständig")))
        << prompts.errors[0].toStdString();
    ASSERT_EQ(prompts.recoveryOffers.size(), 2u);
    EXPECT_EQ(prompts.recoveryOffers[1].size(), 1u);
    EXPECT_FALSE(QFileInfo::exists(copy));
    EXPECT_FALSE(QFileInfo::exists(copy + QStringLiteral(".json")));
    EXPECT_TRUE(master->Document().FilePath.isEmpty());
    EXPECT_EQ(wizardRuns, 2);
}

TEST_F(Recovery, TheDialogListsTheCopiesAnswersForTheSelectedRowAndSpeaksTheLanguage) {
    const QDateTime at(QDate(2026, 12, 11), QTime(14, 35));
    TWiederherstellungDlg dialog(
        nullptr,
        {{folder + QStringLiteral("/a.fbp"), QStringLiteral("/home/anna/Bilder/Urlaub 2024.fbp"),
          QStringLiteral("0123456789ab"), at},
         {folder + QStringLiteral("/b.fbp"), QString(), QStringLiteral("0123456789ab"), at.addSecs(3600)}});
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    ASSERT_EQ(dialog.lvKopien->topLevelItemCount(), 2);
    EXPECT_EQ(dialog.lvKopien->topLevelItem(0)->text(0), QStringLiteral("Urlaub 2024.fbp"));
    EXPECT_EQ(dialog.lvKopien->topLevelItem(0)->text(1), QStringLiteral("/home/anna/Bilder"));
    EXPECT_EQ(dialog.lvKopien->topLevelItem(1)->text(0), QStringLiteral("Unbenannt"));
    EXPECT_TRUE(dialog.btnWiederherstellen->isEnabled());
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        if (widget->parent() == &dialog) {
            EXPECT_FALSE(widget->objectName().isEmpty()) << widget->metaObject()->className();
        }
    }
    dialog.grab().save(screenshotPath(QStringLiteral("recovery-dialog.png")));

    ASSERT_TRUE(Localizer().SetLanguage(kLanguageEnglish));
    EXPECT_EQ(dialog.btnWiederherstellen->text(), QStringLiteral("Recover project"));
    EXPECT_EQ(dialog.btnSpaeter->text(), QStringLiteral("Later"));
    EXPECT_EQ(dialog.lvKopien->topLevelItem(1)->text(0), QStringLiteral("Untitled"));
    dialog.grab().save(screenshotPath(QStringLiteral("recovery-dialog-eng.png")));

    dialog.SelectRow(1);
    QTest::mouseClick(dialog.btnVerwerfen, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Answer().Action, TRecoveryAnswer::TAction::Discard);
    EXPECT_EQ(dialog.Answer().Index, 1);
}
