#include "app/uAutosave.h"

#include "app/uRecoveryStore.h"
#include "document/uDocumentSnapshot.h"
#include "document/uFotobuchDocument.h"
#include "editing/uDocumentBusy.h"
#include "editing/uUndo.h"
#include "platform/Exception.h"
#include "platform/uWorkQueue.h"

#include <QtGlobal>

#include <algorithm>
#include <future>
#include <limits>

TAutosaveIntervals TAutosaveIntervals::FromEnvironment() {
    TAutosaveIntervals intervals;
    bool ok = false;
    const qint64 period = qEnvironmentVariable("TINTARO_AUTOSAVE_MS").trimmed().toLongLong(&ok);
    if (ok && period > 0) {
        intervals.PeriodMs = period;
        intervals.MinimumGapMs = std::max<qint64>(1, period / 8);
    }
    return intervals;
}

void TAutosaveSchedule::NoteEdit(qint64 now) {
    if (pending_ == 0)
        firstPending_ = now;
    ++pending_;
    if (pending_ == intervals_.EditLimit)
        limitReached_ = now;
}

void TAutosaveSchedule::NoteWritten(qint64 now) {
    pending_ = 0;
    lastWritten_ = now;
}

qint64 TAutosaveSchedule::DueAt() const {
    if (pending_ == 0)
        return -1;
    qint64 due = firstPending_ + intervals_.PeriodMs;
    if (pending_ >= intervals_.EditLimit)
        due = std::min(due, limitReached_);
    if (lastWritten_ >= 0)
        due = std::max(due, lastWritten_ + intervals_.MinimumGapMs);
    return due;
}

namespace {

// Also called on the worker thread: the message log is safe there.
void logLine(const QString& message) {
    // One line: the save's messages may hold a line break before the system's reason.
    qWarning("Autosave: %s", qUtf8Printable(message.simplified()));
}

} // namespace

TAutosave::TAutosave(const TFBDocument& document, TRecoveryStore& store, const TAutosaveIntervals& intervals)
    : document_(document), store_(store), schedule_(intervals), periodMs_(intervals.PeriodMs),
      gapMs_(intervals.MinimumGapMs), shared_(std::make_shared<TShared>()),
      worker_(std::make_unique<TWorkQueue>(1)) {
    clock_.start();
    due_.setSingleShot(true);
    connect(&due_, &QTimer::timeout, this, &TAutosave::WriteNow);
    watch_.setInterval(static_cast<int>(std::min<qint64>(periodMs_, 60000)));
    connect(&watch_, &QTimer::timeout, this, [this] {
        if (document_.Modified && currentCopy_.isEmpty() && !schedule_.HasPending())
            NoteEdit();
    });
    watch_.start();
    if (!store_.Begin())
        logFailure(QStringLiteral("keine Wiederherstellungskopien: ") + store_.Error());
}

TAutosave::~TAutosave() {
    WaitIdle();
}

void TAutosave::logFailure(const QString& message) {
    if (!shared_->failureLogged.exchange(true))
        logLine(message);
}

void TAutosave::NoteHistoryChange(TUndoChange change) {
    if (change == TUndoChange::Added || change == TUndoChange::Undone || change == TUndoChange::Redone)
        NoteEdit();
}

void TAutosave::NoteEdit() {
    if (finished_)
        return;
    schedule_.NoteEdit(clock_.elapsed());
    reschedule();
}

void TAutosave::reschedule() {
    const qint64 due = schedule_.DueAt();
    if (due < 0 || finished_) {
        due_.stop();
        return;
    }
    // The moment depends on the oldest waiting change, so further edits do not push it on.
    const qint64 wait = std::max<qint64>(0, due - clock_.elapsed());
    due_.start(static_cast<int>(std::min<qint64>(wait, std::numeric_limits<int>::max())));
}

void TAutosave::WriteNow() {
    if (finished_ || !schedule_.HasPending())
        return;
    // The previous copy is still being written (a slow disk), or a long operation lets timers run
    // while the document may be half built: try again after the gap.
    if (shared_->writesInFlight.load() > 0 || TDocumentBusy::Active()) {
        due_.start(static_cast<int>(gapMs_));
        return;
    }
    const qint64 now = clock_.elapsed();
    if (currentCopy_.isEmpty())
        currentCopy_ = store_.CopyPathFor(document_.FilePath);
    auto snapshot = std::make_shared<const TDocumentSnapshot>(TDocumentSnapshot::Take(document_));
    schedule_.NoteWritten(now);
    shared_->writesInFlight.fetch_add(1);
    worker_->Post(
        [shared = shared_, &store = store_, snapshot, copy = currentCopy_, original = document_.FilePath] {
            try {
                store.Write(*snapshot, copy, original);
                shared->failureLogged.store(false);
            } catch (const Exception& e) {
                if (!shared->failureLogged.exchange(true))
                    logLine(e.message());
            }
            shared->writesInFlight.fetch_sub(1);
        });
    reschedule();
}

void TAutosave::discardCopy() {
    schedule_.NoteClean();
    due_.stop();
    if (currentCopy_.isEmpty())
        return;
    worker_->Post([&store = store_, copy = currentCopy_] { store.Remove(copy); });
    currentCopy_.clear();
}

void TAutosave::ProjectSaved() {
    discardCopy();
}

void TAutosave::ProjectReplaced() {
    discardCopy();
}

void TAutosave::Adopt(const TRecoveryEntry& entry) {
    discardCopy();
    try {
        store_.Adopt(entry);
        currentCopy_ = entry.CopyPath;
    } catch (const Exception& e) {
        // The copy stays where it is, still offered at the next start; this run writes its own.
        logFailure(e.message());
    }
}

void TAutosave::Finish() {
    if (finished_)
        return;
    discardCopy();
    finished_ = true;
    watch_.stop();
    WaitIdle();
    store_.End();
}

void TAutosave::WaitIdle() {
    std::promise<void> done;
    std::future<void> finished = done.get_future();
    worker_->Post([&done] { done.set_value(); });
    finished.wait();
}
