#pragma once

#include <QIODevice>
#include <QSaveFile>
#include <QString>

// Faults a test can make happen while a file is replaced: the disk filling up after a number of
// bytes, or the final rename failing.
struct TWriteFaults {
    qint64 FailAfterBytes = -1; // writes beyond this many bytes fail; -1: never
    bool FailCommit = false;
};

// Replaces a file as a whole. The new content goes into a temporary file in the target's folder;
// `Commit` flushes it to the disk and renames it over the target. Until then the target is
// untouched, and a writer destroyed without a successful `Commit` removes its temporary file, so a
// failure at any point (disk full, an exception, a crash) never leaves a half-written target.
// The device is write-only with random access (the container seeks to its end before each item).
class TAtomicFile : public QIODevice {
    Q_OBJECT
public:
    // Opens the temporary file; raises Exception when the folder cannot take it. Messages read
    // "Schreibfehler: " and the system's reason.
    explicit TAtomicFile(const QString& target, const TWriteFaults& faults = {});
    ~TAtomicFile() override;

    // Makes the new content the target's; raises Exception on failure (the target then stays as
    // it was and the temporary file is gone).
    void Commit();

    const QString& Target() const { return target_; }

    bool isSequential() const override { return false; }
    qint64 size() const override;
    bool seek(qint64 position) override;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

private:
    [[noreturn]] void fail(const QString& reason);

    QString target_;
    TWriteFaults faults_;
    QSaveFile file_;
    qint64 written_ = 0;
    bool committed_ = false;
};
