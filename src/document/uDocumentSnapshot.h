#pragma once

#include "platform/uAtomicFile.h"

#include <QByteArray>
#include <QString>

#include <vector>

class TFBDocument;

// A project file held in memory: taken on the user-interface thread while the user works, written
// out later on any thread. Its items are exactly the ones a save writes, but the pictures' encoded
// bytes are shared with the picture store (QByteArray is implicitly shared), not copied, so taking
// one costs little more than the document's own values. Taking a snapshot never changes the
// document: it stays modified and shows no progress.
class TDocumentSnapshot {
public:
    TDocumentSnapshot() = default;

    // The document and the picture store as they are now.
    static TDocumentSnapshot Take(const TFBDocument& document);

    qint64 Size() const { return size_; }
    // The file's bytes in order, in pieces; the pictures' pieces share the store's arrays.
    const std::vector<QByteArray>& Pieces() const { return pieces_; }
    // The whole file as one array (a copy).
    QByteArray Joined() const;
    // Replaces the file at path through the atomic save: the target changes only once everything
    // is on the disk. Raises Exception with the save's messages.
    void WriteToFile(const QString& path, const TWriteFaults& faults = {}) const;

private:
    friend class TSnapshotDevice;
    std::vector<QByteArray> pieces_;
    qint64 size_ = 0;
};
