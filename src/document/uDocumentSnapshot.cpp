#include "document/uDocumentSnapshot.h"

#include "document/uDataFile.h"
#include "document/uFotobuchDocumentIO.h"
#include "platform/Exception.h"

#include <QIODevice>

// Collects what the container writes: small writes into the current piece, large data blocks as
// pieces of their own that share the caller's array. Write-only and append-only, as a container
// writes.
class TSnapshotDevice : public QIODevice {
public:
    explicit TSnapshotDevice(TDocumentSnapshot& target) : target_(target) {
        QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    ~TSnapshotDevice() override { Finish(); }
    TSnapshotDevice(const TSnapshotDevice&) = delete;
    TSnapshotDevice& operator=(const TSnapshotDevice&) = delete;

    void AppendShared(const QByteArray& data) {
        Finish();
        target_.pieces_.push_back(data);
        target_.size_ += data.size();
        QIODevice::seek(target_.size_);
    }
    // The bytes written since the last shared block become a piece.
    void Finish() {
        if (!open_.isEmpty()) {
            target_.pieces_.push_back(std::move(open_));
            open_ = QByteArray();
        }
    }

    bool isSequential() const override { return false; }
    qint64 size() const override { return target_.size_; }
    bool seek(qint64 position) override { return position == target_.size_ && QIODevice::seek(position); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        open_.append(data, size);
        target_.size_ += size;
        return size;
    }

private:
    TDocumentSnapshot& target_;
    QByteArray open_;
};

namespace {

class TSnapshotDataFile : public TCustomDataFile {
public:
    explicit TSnapshotDataFile(TSnapshotDevice& device) : TCustomDataFile(&device, false), device_(device) {
        writeFileHeader();
    }

protected:
    void writeItemData(const QByteArray& data) override { device_.AppendShared(data); }

private:
    TSnapshotDevice& device_;
};

} // namespace

TDocumentSnapshot TDocumentSnapshot::Take(const TFBDocument& document) {
    TDocumentSnapshot snapshot;
    {
        TSnapshotDevice device(snapshot);
        TSnapshotDataFile file(device);
        WriteDocumentItems(document, file);
    }
    return snapshot;
}

QByteArray TDocumentSnapshot::Joined() const {
    QByteArray all;
    all.reserve(size_);
    for (const QByteArray& piece : pieces_)
        all.append(piece);
    return all;
}

void TDocumentSnapshot::WriteToFile(const QString& path, const TWriteFaults& faults) const {
    WriteWholeFile(
        path,
        [this](QIODevice& target) {
            for (const QByteArray& piece : pieces_) {
                qint64 done = 0;
                while (done < piece.size()) {
                    const qint64 written = target.write(piece.constData() + done, piece.size() - done);
                    if (written <= 0)
                        throw Exception(QStringLiteral("Schreibfehler: %1").arg(target.errorString()));
                    done += written;
                }
            }
        },
        faults);
}
