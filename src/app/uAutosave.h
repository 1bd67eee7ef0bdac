#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <memory>

class TFBDocument;
class TRecoveryStore;
class TWorkQueue;
struct TRecoveryEntry;
enum class TUndoChange;

// How often recovery copies are written: while there are changes not yet in a copy, when the
// oldest of them is `PeriodMs` old or after `EditLimit` of them, whichever comes first, but never
// sooner than `MinimumGapMs` after the last copy.
struct TAutosaveIntervals {
    qint64 PeriodMs = 120000;
    qint64 MinimumGapMs = 15000;
    int EditLimit = 20;

    // TINTARO_AUTOSAVE_MS (tests) sets the period in milliseconds and the gap to an eighth of it,
    // as 2 minutes and 15 seconds are; the defaults when unset or not a positive number.
    static TAutosaveIntervals FromEnvironment();
};

// The arithmetic of the intervals, on times in milliseconds of any steady clock.
class TAutosaveSchedule {
public:
    explicit TAutosaveSchedule(const TAutosaveIntervals& intervals) : intervals_(intervals) {}

    void NoteEdit(qint64 now);
    // A copy was taken: the changes so far are in it.
    void NoteWritten(qint64 now);
    // Saved or closed: no change is waiting for a copy.
    void NoteClean() { pending_ = 0; }
    bool HasPending() const { return pending_ > 0; }
    // When the next copy is due (possibly already past); -1 while no change waits.
    qint64 DueAt() const;

private:
    TAutosaveIntervals intervals_;
    int pending_ = 0;
    qint64 firstPending_ = 0;
    qint64 limitReached_ = 0;
    qint64 lastWritten_ = -1;
};

// Autosave of the open project into the recovery store. A copy is taken on the calling
// (user-interface) thread as a snapshot that shares the pictures' bytes, and written to the disk
// by a worker thread through the atomic save. The user's file is never touched and the document
// never counts as saved because of a copy. A copy that cannot be written costs one log line (until
// a later one succeeds); the work goes on.
class TAutosave : public QObject {
    Q_OBJECT
public:
    // Takes the store's run lock at once. The document and the store outlive the autosave.
    TAutosave(const TFBDocument& document, TRecoveryStore& store,
              const TAutosaveIntervals& intervals = TAutosaveIntervals::FromEnvironment());
    // Waits for the copy being written; the copy stays (Finish removes it).
    ~TAutosave() override;

    // The undo history's notice: adding, undoing and redoing change the document.
    void NoteHistoryChange(TUndoChange change);
    void NoteEdit();
    // The project was saved: its copy goes.
    void ProjectSaved();
    // Another project (or none) is open now: the copy of the previous one goes.
    void ProjectReplaced();
    // A restored copy of a dead run is the open project's copy from now on.
    void Adopt(const TRecoveryEntry& entry);
    // A clean end: the copy goes and the run's lock is released. Nothing is written afterwards.
    void Finish();

    // Takes a copy now when changes wait for one (the timer's work).
    void WriteNow();
    // Waits until the worker has written or removed what it was given.
    void WaitIdle();

    // The open project's copy; empty while it has none.
    const QString& CurrentCopy() const { return currentCopy_; }
    const TAutosaveSchedule& Schedule() const { return schedule_; }

private:
    void reschedule();
    void discardCopy();
    void logFailure(const QString& message);

    const TFBDocument& document_;
    TRecoveryStore& store_;
    TAutosaveSchedule schedule_;
    qint64 periodMs_;
    qint64 gapMs_;
    QElapsedTimer clock_;
    QTimer due_;
    // Catches changes made without a notice of the history: a modified project without a copy.
    QTimer watch_;
    QString currentCopy_;
    bool finished_ = false;
    // Shared with the worker's jobs.
    struct TShared {
        std::atomic<int> writesInFlight{0};
        std::atomic<bool> failureLogged{false};
    };
    std::shared_ptr<TShared> shared_;
    std::unique_ptr<TWorkQueue> worker_;
};
