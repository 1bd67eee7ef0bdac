#pragma once

#include <QDateTime>
#include <QLockFile>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class TDocumentSnapshot;

// One recovery copy: a project file of its own beside a small description.
struct TRecoveryEntry {
    QString CopyPath;     // the copy, a project file
    QString OriginalPath; // where the project belongs; empty for one never saved
    QString Run;          // the run that wrote it
    QDateTime SavedAt;    // when the copy was last written
};

// The folder of recovery copies and the lock of this run. Each run of the designer holds a lock
// file "<run>.lock" (a QLockFile: a run that died leaves a stale lock, recognised by its dead
// process) for as long as it lives. A copy "<name>-<hash>-<run>.fbp" (or "Unbenannt-<id>.fbp" for a
// project never saved) is a complete project file; "<copy>.json" beside it names the original path
// and the run. Copies of runs whose lock is no longer held are the ones to offer at the start.
//
// The file operations raise nothing but Exception and may run on any thread.
class TRecoveryStore {
public:
    // $XDG_STATE_HOME/Tessaro/Albumorix/recovery when XDG_STATE_HOME is an absolute path, else
    // ~/.local/state/Tessaro/Albumorix/recovery.
    static QString DefaultFolder();

    explicit TRecoveryStore(QString folder = DefaultFolder());
    ~TRecoveryStore();
    TRecoveryStore(const TRecoveryStore&) = delete;
    TRecoveryStore& operator=(const TRecoveryStore&) = delete;

    const QString& Folder() const { return folder_; }
    // This run's id: twelve hexadecimal digits, new for every store.
    const QString& Run() const { return run_; }

    // Creates the folder and takes this run's lock. False when the folder cannot take it; the
    // reason is in Error(). Copies can still be written to a folder that appears later.
    bool Begin();
    bool HoldsLock() const { return lock_ && lock_->isLocked(); }
    const QString& Error() const { return error_; }
    // A clean end: this run's lock is released and its file removed.
    void End();

    // The path of this run's copy of a project ("" for one never saved: a new unique id each time).
    QString CopyPathFor(const QString& projectPath) const;

    // The copies left by runs that are not running any more, oldest first. Own copies and those of
    // runs still alive are left out; copies without a readable description are offered too.
    // Stale locks met on the way are removed.
    std::vector<TRecoveryEntry> Abandoned() const;

    // Writes the description, then the copy, each through the atomic save. Raises Exception.
    void Write(const TDocumentSnapshot& snapshot, const QString& copyPath, const QString& originalPath) const;
    // Removes a copy with its description; a missing one is no error. False when a file stays.
    bool Remove(const QString& copyPath) const;
    // Makes a copy of a dead run this run's own (its description names this run from now on).
    // Raises Exception when the description cannot be written.
    void Adopt(const TRecoveryEntry& entry) const;
    // Removes the lock files of runs that are gone (Begin does it too); their copies stay abandoned.
    void RemoveStaleLocks() const;

    // Whether the run's lock is held by a living process (own run included).
    bool RunIsAlive(const QString& run) const;

private:
    QString lockPath(const QString& run) const;
    static QString descriptionPath(const QString& copyPath);
    void writeDescription(const QString& copyPath, const QString& originalPath, const QString& run) const;

    QString folder_;
    QString run_;
    std::unique_ptr<QLockFile> lock_;
    QString error_;
};

// The user's answer to the offer of recovery copies.
struct TRecoveryAnswer {
    enum class TAction { Restore, Discard, Later };
    TAction Action = TAction::Later;
    int Index = 0; // into the copies offered
};

// The offer at the start: the copies are asked about until one is restored, the user puts the
// rest off ("Later": they are offered again at the next start) or none is left. A discarded copy
// is removed; one whose restore failed (a damaged file) stays on offer. True when a copy was
// restored. The functions are the dialog and the opening of a copy.
bool OfferRecovery(const TRecoveryStore& store,
                   const std::function<TRecoveryAnswer(const std::vector<TRecoveryEntry>& copies)>& ask,
                   const std::function<bool(const TRecoveryEntry& entry)>& restore);
