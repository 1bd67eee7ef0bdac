#include "app/uRecoveryStore.h"

#include "document/uDocumentSnapshot.h"
#include "document/uFotobuchDocumentIO.h"
#include "platform/Exception.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSysInfo>
#include <QUuid>

#include <algorithm>
#include <cerrno>
#include <csignal>

namespace {

const QLatin1String kCopySuffix(".fbp");
const QLatin1String kDescriptionSuffix(".json");
const QLatin1String kLockSuffix(".lock");

QString newId() {
    return QUuid::createUuid().toString(QUuid::Id128).left(12);
}

// The project's name as part of a file name: letters, digits, blanks, dots, dashes and
// underscores, at most 40 characters.
QString safeName(const QString& name) {
    QString safe;
    for (const QChar c : name.left(40))
        safe +=
            c.isLetterOrNumber() || c == QLatin1Char(' ') || c == QLatin1Char('-') || c == QLatin1Char('_')
                ? c
                : QLatin1Char('_');
    return safe.trimmed().isEmpty() ? QStringLiteral("Projekt") : safe.trimmed();
}

QString shortHash(const QString& path) {
    return QString::fromLatin1(
        QCryptographicHash::hash(QFileInfo(path).absoluteFilePath().toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(8));
}

QJsonObject readDescription(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // A description is a few hundred bytes; anything larger is not one.
    return QJsonDocument::fromJson(file.read(64 * 1024)).object();
}

// Run ids are hexadecimal; anything else in a description (edited or damaged) names no run and
// must not lead the lock check to a file elsewhere.
bool isRunId(const QString& run) {
    if (run.isEmpty() || run.size() > 32)
        return false;
    return std::all_of(run.begin(), run.end(), [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
               (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
    });
}

bool processAlive(qint64 pid) {
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

} // namespace

QString TRecoveryStore::DefaultFolder() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return QDir::cleanPath(state + QStringLiteral("/Tessaro/Albumorix/recovery"));
}

TRecoveryStore::TRecoveryStore(QString folder) : folder_(std::move(folder)), run_(newId()) {}

TRecoveryStore::~TRecoveryStore() = default;

QString TRecoveryStore::lockPath(const QString& run) const {
    return folder_ + QLatin1Char('/') + run + kLockSuffix;
}

QString TRecoveryStore::descriptionPath(const QString& copyPath) {
    return copyPath + kDescriptionSuffix;
}

bool TRecoveryStore::Begin() {
    error_.clear();
    if (!QDir().mkpath(folder_)) {
        error_ =
            QStringLiteral("der Ordner %1 kann nicht angelegt werden").arg(QDir::toNativeSeparators(folder_));
        return false;
    }
    // The copies hold the user's pictures: the folder is the user's alone.
    QFile::setPermissions(folder_, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    lock_ = std::make_unique<QLockFile>(lockPath(run_));
    // Only a dead process makes a lock stale, never its age: a designer may run for days.
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0)) {
        error_ = QStringLiteral("die Sperrdatei %1 kann nicht angelegt werden")
                     .arg(QDir::toNativeSeparators(lockPath(run_)));
        lock_.reset();
        return false;
    }
    RemoveStaleLocks();
    return true;
}

void TRecoveryStore::End() {
    if (lock_)
        lock_->unlock();
    lock_.reset();
}

QString TRecoveryStore::CopyPathFor(const QString& projectPath) const {
    const QString name = projectPath.isEmpty()
                             ? QStringLiteral("Unbenannt-") + newId()
                             : safeName(QFileInfo(projectPath).completeBaseName()) + QLatin1Char('-') +
                                   shortHash(projectPath) + QLatin1Char('-') + run_;
    return folder_ + QLatin1Char('/') + name + kCopySuffix;
}

bool TRecoveryStore::RunIsAlive(const QString& run) const {
    if (run == run_)
        return true;
    if (!isRunId(run))
        return false;
    QLockFile lock(lockPath(run));
    lock.setStaleLockTime(0);
    // Taking the lock succeeds when it is free or stale (its process is gone); the file is then
    // removed again at once.
    if (lock.tryLock(0)) {
        lock.unlock();
        return false;
    }
    if (lock.error() == QLockFile::LockFailedError)
        return true;
    // A folder that cannot be written to: look at the process the lock names.
    qint64 pid = 0;
    QString host;
    QString application;
    if (!lock.getLockInfo(&pid, &host, &application))
        return false;
    if (!host.isEmpty() && host != QSysInfo::machineHostName())
        return true; // a run on another computer sharing this folder
    return processAlive(pid);
}

std::vector<TRecoveryEntry> TRecoveryStore::Abandoned() const {
    std::vector<TRecoveryEntry> entries;
    const QFileInfoList copies = QDir(folder_).entryInfoList({QStringLiteral("*") + kCopySuffix}, QDir::Files,
                                                             QDir::Time | QDir::Reversed);
    for (const QFileInfo& copy : copies) {
        const QJsonObject description = readDescription(descriptionPath(copy.filePath()));
        TRecoveryEntry entry;
        entry.CopyPath = copy.filePath();
        entry.OriginalPath = description.value(QLatin1String("Original")).toString();
        entry.Run = description.value(QLatin1String("Run")).toString();
        if (!isRunId(entry.Run))
            entry.Run.clear();
        entry.SavedAt = copy.lastModified();
        if (entry.Run == run_ || (!entry.Run.isEmpty() && RunIsAlive(entry.Run)))
            continue;
        entries.push_back(std::move(entry));
    }
    return entries;
}

void TRecoveryStore::writeDescription(const QString& copyPath, const QString& originalPath,
                                      const QString& run) const {
    QJsonObject description;
    description.insert(QLatin1String("Original"), originalPath);
    description.insert(QLatin1String("Run"), run);
    const QString path = descriptionPath(copyPath);
    if (readDescription(path) == description)
        return;
    const QByteArray bytes = QJsonDocument(description).toJson();
    WriteWholeFile(path, [&bytes](QIODevice& target) {
        if (target.write(bytes) != bytes.size())
            throw Exception(QStringLiteral("Schreibfehler: %1").arg(target.errorString()));
    });
}

void TRecoveryStore::Write(const TDocumentSnapshot& snapshot, const QString& copyPath,
                           const QString& originalPath) const {
    if (!QDir().mkpath(folder_))
        throw Exception(QStringLiteral("Der Ordner %1 kann nicht angelegt werden.")
                            .arg(QDir::toNativeSeparators(folder_)));
    // The description first: a copy on the disk always has one.
    writeDescription(copyPath, originalPath, run_);
    snapshot.WriteToFile(copyPath);
}

bool TRecoveryStore::Remove(const QString& copyPath) const {
    QFile::remove(copyPath);
    QFile::remove(descriptionPath(copyPath));
    return !QFileInfo::exists(copyPath) && !QFileInfo::exists(descriptionPath(copyPath));
}

void TRecoveryStore::Adopt(const TRecoveryEntry& entry) const {
    writeDescription(entry.CopyPath, entry.OriginalPath, run_);
    RemoveStaleLocks();
}

void TRecoveryStore::RemoveStaleLocks() const {
    const QStringList locks = QDir(folder_).entryList({QStringLiteral("*") + kLockSuffix}, QDir::Files);
    // Checking a dead run's lock removes it; its copies count as abandoned all the same.
    for (const QString& name : locks)
        RunIsAlive(name.chopped(kLockSuffix.size()));
}

bool OfferRecovery(const TRecoveryStore& store,
                   const std::function<TRecoveryAnswer(const std::vector<TRecoveryEntry>& copies)>& ask,
                   const std::function<bool(const TRecoveryEntry& entry)>& restore) {
    std::vector<TRecoveryEntry> copies = store.Abandoned();
    while (!copies.empty()) {
        const TRecoveryAnswer answer = ask(copies);
        if (answer.Action == TRecoveryAnswer::TAction::Later || answer.Index < 0 ||
            answer.Index >= static_cast<int>(copies.size()))
            return false;
        const TRecoveryEntry entry = copies[static_cast<size_t>(answer.Index)];
        if (answer.Action == TRecoveryAnswer::TAction::Restore) {
            if (restore(entry))
                return true;
            continue;
        }
        // A copy that cannot be removed (a folder without write permission) is not asked about
        // again in this run.
        if (!store.Remove(entry.CopyPath))
            qWarning("Autosave: %s kann nicht entfernt werden", qUtf8Printable(entry.CopyPath));
        copies.erase(copies.begin() + answer.Index);
    }
    return false;
}
