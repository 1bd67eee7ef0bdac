// Recovery copies: the snapshot a copy is made of, when copies are due, the store's folder, names
// and locks, and the autosave on a document.
#include "app/uAutosave.h"
#include "app/uRecoveryStore.h"
#include "document/uDataFile.h"
#include "document/uDocumentSnapshot.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "editing/uDocumentBusy.h"
#include "platform/Exception.h"
#include "platform/uInfoausgabe.h"
#include "support/PictureSupport.h"
#include "support/SampleDocument.h"
#include "support/TempHome.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

using TestSupport::readFile;

bool waitUntil(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return done();
}

class TCountingTarget : public TInfoTarget {
public:
    int calls = 0;
    void SetStatusText(const QString&) override { ++calls; }
    void ShowProgress(const QString&) override { ++calls; }
    void HideProgress() override { ++calls; }
};

// A document with the sample's elements and one photo large enough to be stored as a block of
// its own.
void fillWithPhoto(TFBDocument& document, const QString& folder) {
    SampleDocument::fill(document, folder);
    const QString photo = PictureSupport::writeFile(folder + QStringLiteral("/gross.jpg"),
                                                    PictureSupport::jpeg(PictureSupport::photo(640, 480, 7)));
    document.Pages.Items(2)->Picture(1)->SetPictureFile(photo); // the frame the sample leaves empty
}

QStringList copiesIn(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("*.fbp")}, QDir::Files);
}

class EnvironmentValue {
public:
    EnvironmentValue(const char* name, const QByteArray& value) : name_(name), saved_(qgetenv(name)) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~EnvironmentValue() {
        if (saved_.isNull())
            qunsetenv(name_);
        else
            qputenv(name_, saved_);
    }

private:
    const char* name_;
    QByteArray saved_;
};

} // namespace

TEST(DocumentSnapshot, HoldsWhatASaveWritesSharesThePicturesAndLeavesTheDocumentAlone) {
    TestSupport::TempHome home;
    TBildmanager::Instance().Clear();
    TFBDocument document;
    fillWithPhoto(document, home.path());
    document.Modified = true;

    TCountingTarget target;
    InfoAusgabe().SetTarget(&target);
    const TDocumentSnapshot snapshot = TDocumentSnapshot::Take(document);
    InfoAusgabe().SetTarget(nullptr);
    EXPECT_EQ(target.calls, 0) << "a copy taken in the background shows no progress";
    EXPECT_TRUE(document.Modified);

    // Byte for byte what saving the document writes.
    const QByteArray saved = SampleDocument::saved(document);
    EXPECT_EQ(snapshot.Joined(), saved);
    EXPECT_EQ(snapshot.Size(), saved.size());

    // The large picture's bytes are the store's own array, not a copy.
    const TBildmanager& store = TBildmanager::Instance();
    int shared = 0;
    for (int i = 0; i < store.Count(); ++i) {
        const QByteArray& bytes = store.Item(i).FileData;
        if (bytes.size() <= 16 * 1024)
            continue;
        for (const QByteArray& piece : snapshot.Pieces())
            shared += piece.constData() == bytes.constData() ? 1 : 0;
    }
    EXPECT_EQ(shared, 1);

    // Written out, it is a project file like any other; a folder that is missing raises and
    // leaves nothing behind.
    const QString path = home.path() + QStringLiteral("/kopie.fbp");
    snapshot.WriteToFile(path);
    EXPECT_EQ(readFile(path), saved);
    TFBDocument reopened;
    LoadDocumentFromFile(reopened, path);
    EXPECT_EQ(reopened.Pages.Count(), document.Pages.Count());
    EXPECT_THROW(snapshot.WriteToFile(home.path() + QStringLiteral("/fehlt/kopie.fbp")), Exception);
    EXPECT_FALSE(QFileInfo::exists(home.path() + QStringLiteral("/fehlt")));
    TBildmanager::Instance().Clear();
}

TEST(AutosaveSchedule, TwentyEditsOrTwoMinutesWhicheverComesFirstButNeverWithinFifteenSeconds) {
    TAutosaveSchedule schedule{TAutosaveIntervals{}};
    EXPECT_EQ(schedule.DueAt(), -1);
    // Two minutes after the first change that is in no copy yet.
    schedule.NoteEdit(1000);
    schedule.NoteEdit(50000);
    EXPECT_EQ(schedule.DueAt(), 121000);
    // The twentieth change makes it due at once.
    for (int i = 0; i < 17; ++i)
        schedule.NoteEdit(60000 + i);
    EXPECT_EQ(schedule.DueAt(), 121000);
    schedule.NoteEdit(70000);
    EXPECT_EQ(schedule.DueAt(), 70000);
    schedule.NoteWritten(70000);
    EXPECT_EQ(schedule.DueAt(), -1);
    // Twenty quick changes after a copy wait for the gap.
    for (int i = 0; i < 20; ++i)
        schedule.NoteEdit(71000 + i);
    EXPECT_EQ(schedule.DueAt(), 85000);
    // Saved: nothing waits.
    schedule.NoteClean();
    EXPECT_EQ(schedule.DueAt(), -1);

    {
        EnvironmentValue shortened("TINTARO_AUTOSAVE_MS", "800");
        const TAutosaveIntervals intervals = TAutosaveIntervals::FromEnvironment();
        EXPECT_EQ(intervals.PeriodMs, 800);
        EXPECT_EQ(intervals.MinimumGapMs, 100);
        EXPECT_EQ(intervals.EditLimit, 20);
    }
    EnvironmentValue broken("TINTARO_AUTOSAVE_MS", "bald");
    EXPECT_EQ(TAutosaveIntervals::FromEnvironment().PeriodMs, 120000);
    EXPECT_EQ(TAutosaveIntervals::FromEnvironment().MinimumGapMs, 15000);
}

TEST(RecoveryStore, FolderNamesLocksAndTheCopiesOfRunsThatAreGone) {
    TestSupport::TempHome home;
    {
        EnvironmentValue absolute("XDG_STATE_HOME", "/var/tmp/zustand");
        EXPECT_EQ(TRecoveryStore::DefaultFolder(),
                  QStringLiteral("/var/tmp/zustand/Tessaro/Albumorix/recovery"));
    }
    {
        EnvironmentValue relative("XDG_STATE_HOME", "zustand");
        EXPECT_EQ(TRecoveryStore::DefaultFolder(),
                  home.path() + QStringLiteral("/.local/state/Tessaro/Albumorix/recovery"));
    }

    const QString folder = home.path() + QStringLiteral("/recovery");
    TRecoveryStore first(folder);
    ASSERT_TRUE(first.Begin()) << first.Error().toStdString();
    EXPECT_TRUE(QFileInfo::exists(folder + QLatin1Char('/') + first.Run() + QStringLiteral(".lock")));
    EXPECT_EQ(QFileInfo(folder).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup), 0);

    // Named after the project and its path, so two projects of one name keep two copies; a
    // project never saved gets a new id each time.
    const QString urlaub = QFileInfo(first.CopyPathFor(QStringLiteral("/fotos/Urlaub 2024.fbp"))).fileName();
    EXPECT_TRUE(urlaub.startsWith(QStringLiteral("Urlaub 2024-"))) << urlaub.toStdString();
    EXPECT_TRUE(urlaub.endsWith(first.Run() + QStringLiteral(".fbp")));
    EXPECT_NE(urlaub, QFileInfo(first.CopyPathFor(QStringLiteral("/alt/Urlaub 2024.fbp"))).fileName());
    const QString unnamed = QFileInfo(first.CopyPathFor(QString())).fileName();
    EXPECT_TRUE(unnamed.startsWith(QStringLiteral("Unbenannt-")));
    EXPECT_NE(unnamed, QFileInfo(first.CopyPathFor(QString())).fileName());

    TFBDocument document;
    SampleDocument::fill(document, home.path());
    const QString copy = first.CopyPathFor(QStringLiteral("/fotos/Urlaub 2024.fbp"));
    first.Write(TDocumentSnapshot::Take(document), copy, QStringLiteral("/fotos/Urlaub 2024.fbp"));

    // Another run sees nothing to offer while the first one lives ...
    TRecoveryStore second(folder);
    ASSERT_TRUE(second.Begin());
    EXPECT_TRUE(second.RunIsAlive(first.Run()));
    EXPECT_TRUE(second.Abandoned().empty());
    // ... and the copy once the first has gone without removing it.
    first.End();
    const std::vector<TRecoveryEntry> offered = second.Abandoned();
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0].CopyPath, copy);
    EXPECT_EQ(offered[0].OriginalPath, QStringLiteral("/fotos/Urlaub 2024.fbp"));
    EXPECT_EQ(offered[0].Run, first.Run());

    // Adopted, it belongs to the second run: a third one does not offer it while the second lives.
    second.Adopt(offered[0]);
    const QJsonObject description =
        QJsonDocument::fromJson(readFile(copy + QStringLiteral(".json"))).object();
    EXPECT_EQ(description.value(QLatin1String("Run")).toString(), second.Run());
    TRecoveryStore third(folder);
    ASSERT_TRUE(third.Begin());
    EXPECT_TRUE(third.Abandoned().empty());
    EXPECT_TRUE(second.Remove(copy));
    EXPECT_TRUE(copiesIn(folder).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(copy + QStringLiteral(".json")));

    // A description naming no run id (edited by hand) is taken as naming no run, so no lock check
    // leads out of the folder; its copy is offered as one of a run that is gone.
    const QString stray = folder + QStringLiteral("/Fremd.fbp");
    second.Write(TDocumentSnapshot::Take(document), stray, QString());
    TestSupport::writeFile(stray + QStringLiteral(".json"), R"({"Original": "", "Run": "../../ausserhalb"})");
    const std::vector<TRecoveryEntry> strays = third.Abandoned();
    ASSERT_EQ(strays.size(), 1u);
    EXPECT_TRUE(strays[0].Run.isEmpty());
}

TEST(Autosave, CopiesTheChangesLeavesTheProjectAloneAndDropsTheCopyOnceSaved) {
    TestSupport::TempHome home;
    TBildmanager::Instance().Clear();
    TFBDocument document;
    fillWithPhoto(document, home.path());
    const QString project = home.path() + QStringLiteral("/Reise.fbp");
    SaveDocumentToFile(document, project);
    document.FilePath = project;
    const QByteArray projectBytes = readFile(project);

    const QString folder = home.path() + QStringLiteral("/recovery");
    TRecoveryStore store(folder);
    TAutosaveIntervals quick;
    quick.PeriodMs = 60000;
    quick.MinimumGapMs = 50;
    quick.EditLimit = 3;
    TAutosave autosave(document, store, quick);
    ASSERT_TRUE(store.HoldsLock());

    document.Dokumentname = QStringLiteral("Reise nach Rom");
    document.Modified = true;
    {
        // No copy of a document a long operation may have half built.
        TDocumentBusy busy;
        for (int i = 0; i < 3; ++i)
            autosave.NoteEdit();
        waitUntil([] { return false; }, 300);
        EXPECT_TRUE(copiesIn(folder).isEmpty());
    }
    ASSERT_TRUE(waitUntil([&] { return copiesIn(folder).size() == 1; }));
    autosave.WaitIdle();
    EXPECT_EQ(readFile(project), projectBytes) << "autosave never touches the user's file";
    EXPECT_TRUE(document.Modified) << "a copy does not make the document saved";
    TFBDocument copy;
    LoadDocumentFromFile(copy, autosave.CurrentCopy());
    EXPECT_EQ(copy.Dokumentname, QStringLiteral("Reise nach Rom"));

    // Two edits wait for the period; saving drops them and the copy.
    autosave.NoteEdit();
    autosave.NoteEdit();
    autosave.ProjectSaved();
    autosave.WaitIdle();
    EXPECT_TRUE(copiesIn(folder).isEmpty());
    EXPECT_FALSE(autosave.Schedule().HasPending());

    // A clean end leaves neither a copy nor the lock.
    for (int i = 0; i < 3; ++i)
        autosave.NoteEdit();
    ASSERT_TRUE(waitUntil([&] { return copiesIn(folder).size() == 1; }));
    autosave.Finish();
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty())
        << QDir(folder).entryList(QDir::Files).join(u' ').toStdString();
    TBildmanager::Instance().Clear();
}

namespace {
QStringList* capturedWarnings = nullptr;
void captureWarning(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (capturedWarnings && type == QtWarningMsg)
        *capturedWarnings << message;
}
} // namespace

TEST(Autosave, AFolderThatCannotBeWrittenCostsOneLogLineAndTheWorkGoesOn) {
    TestSupport::TempHome home;
    // A file where the folder would have to be: no folder can be made there, not even by the
    // superuser, for whom permissions would not hold.
    const QString parent = home.path() + QStringLiteral("/state");
    TestSupport::writeFile(parent, "kein Ordner");

    QStringList warnings;
    capturedWarnings = &warnings;
    const QtMessageHandler previous = qInstallMessageHandler(captureWarning);
    {
        TFBDocument document;
        document.Modified = true;
        TRecoveryStore store(parent + QStringLiteral("/recovery"));
        TAutosaveIntervals quick;
        quick.PeriodMs = 20;
        quick.MinimumGapMs = 10;
        TAutosave autosave(document, store, quick);
        EXPECT_FALSE(store.HoldsLock());
        for (int round = 0; round < 3; ++round) {
            autosave.NoteEdit();
            waitUntil([&] { return !autosave.Schedule().HasPending(); }, 1000);
            autosave.WaitIdle();
        }
        EXPECT_FALSE(autosave.Schedule().HasPending()) << "the copies were attempted";
        autosave.Finish();
    }
    qInstallMessageHandler(previous);
    capturedWarnings = nullptr;
    ASSERT_EQ(warnings.size(), 1) << warnings.join(u'\n').toStdString();
    EXPECT_TRUE(warnings[0].startsWith(QStringLiteral("Autosave: ")));
    EXPECT_FALSE(warnings[0].contains(u'\n'));
}
