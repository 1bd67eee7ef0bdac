#include "app/uProjectFile.h"

#include "document/uFotobuchDocumentIO.h"

namespace ProjectFile {

// One way to read and replace container files: the document file's, with its checks of the read
// file and its atomic replacement of the written one.
void Read(const QString& path, const std::function<void(TCustomDataFile&)>& read) {
    ReadContainerFile(path, read);
}

void Write(const QString& path, const std::function<void(TCustomDataFile&)>& write) {
    WriteContainerFile(path, write);
}

} // namespace ProjectFile
