#include "platform/uAtomicFile.h"

#include "platform/Exception.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

QString writeError(const QString& reason) {
    return QStringLiteral("Schreibfehler: %1").arg(reason);
}

// The rename itself lives in the folder: syncing the folder makes it survive a power loss.
void syncFolder(const QString& target) {
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

TAtomicFile::TAtomicFile(const QString& target, const TWriteFaults& faults)
    : target_(target), faults_(faults), file_(target) {
    // Never fall back to writing the target in place: that is exactly what must not happen.
    file_.setDirectWriteFallback(false);
    if (!file_.open(QIODevice::WriteOnly))
        throw Exception(writeError(file_.errorString()));
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

TAtomicFile::~TAtomicFile() {
    if (!committed_)
        file_.cancelWriting(); // QSaveFile removes the temporary file when it is destroyed
}

qint64 TAtomicFile::size() const {
    return file_.size();
}

bool TAtomicFile::seek(qint64 position) {
    if (!file_.seek(position))
        return false;
    return QIODevice::seek(position);
}

qint64 TAtomicFile::writeData(const char* data, qint64 size) {
    if (faults_.FailAfterBytes >= 0 && written_ + size > faults_.FailAfterBytes) {
        setErrorString(QString::fromLocal8Bit(std::strerror(ENOSPC)));
        return -1;
    }
    const qint64 done = file_.write(data, size);
    if (done < 0) {
        setErrorString(file_.errorString());
        return -1;
    }
    written_ += done;
    return done;
}

void TAtomicFile::fail(const QString& reason) {
    file_.cancelWriting();
    throw Exception(writeError(reason));
}

void TAtomicFile::Commit() {
    if (committed_)
        return;
    if (!file_.flush())
        fail(file_.errorString());
    // Written data reaches the disk before the name points at it; errors the kernel deferred (a
    // full disk on some file systems) surface here.
    if (::fsync(file_.handle()) != 0)
        fail(QString::fromLocal8Bit(std::strerror(errno)));
    if (faults_.FailCommit)
        fail(QString::fromLocal8Bit(std::strerror(EIO)));
    if (!file_.commit()) {
        const QString reason = file_.errorString();
        throw Exception(writeError(reason));
    }
    committed_ = true;
    QIODevice::close();
    syncFolder(target_);
}
