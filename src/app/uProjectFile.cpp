#include "app/uProjectFile.h"

#include "document/uDataFile.h"
#include "i18n/ulocalize.h"
#include "platform/Exception.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>

namespace ProjectFile {

void Read(const QString& path, const std::function<void(TCustomDataFile&)>& read) {
    if (!QFileInfo(path).isFile())
        throw Exception(Translate(QStringLiteral("Die Datei %1 wurde nicht gefunden.")).arg(path));
    TDataFile file(path, TDataFile::OpenMode::ReadOnly);
    read(file);
}

void Write(const QString& path, const std::function<void(TCustomDataFile&)>& write) {
    const QFileInfo target(path);
    // A file whose owner may not write it is marked read-only, whoever runs the program.
    if (target.exists() && (!target.isFile() || !target.permission(QFileDevice::WriteOwner)))
        throw Exception(Translate(QStringLiteral("Die Datei ist schreibgeschützt")));

    // The new file is written next to the old one, so that the final rename stays on one file
    // system and replaces the old file in one step.
    QTemporaryFile reserved(
        QDir(target.absolutePath()).filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())));
    reserved.setAutoRemove(false);
    if (!reserved.open())
        throw Exception(Translate(QStringLiteral("Die Datei %1 kann nicht geschrieben werden.")).arg(path));
    const QString temporary = reserved.fileName();
    reserved.close();

    try {
        {
            TDataFile file(temporary);
            write(file);
            auto* device = qobject_cast<QFileDevice*>(file.stream());
            if (device && !device->flush())
                throw Exception(QStringLiteral("Schreibfehler: %1").arg(device->errorString()));
        }
        // The reserved file is private to the user; the project file gets the usual permissions.
        const QFileDevice::Permissions usual = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ReadGroup | QFileDevice::ReadOther;
        QFile::setPermissions(temporary, target.exists() ? QFile::permissions(path) : usual);
        if (std::rename(QFile::encodeName(temporary).constData(),
                        QFile::encodeName(target.absoluteFilePath()).constData()) != 0)
            throw Exception(
                Translate(QStringLiteral("Die Datei %1 kann nicht geschrieben werden.")).arg(path));
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
}

} // namespace ProjectFile
