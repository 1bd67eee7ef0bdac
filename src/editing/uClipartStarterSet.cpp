#include "editing/uClipartStarterSet.h"

#include "platform/uImaging.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QStandardPaths>
#include <QSvgRenderer>

namespace ClipartStarterSet {

QString Folder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Tessaro/Albumorix/Clipart");
}

int InstallIfMissing() {
    const QString folder = Folder();
    if (QFileInfo::exists(folder) || !QDir().mkpath(folder))
        return 0;
    int written = 0;
    const QDir resources(QStringLiteral(":/clipart"));
    for (const QString& name : resources.entryList({QStringLiteral("*.svg")}, QDir::Files, QDir::Name)) {
        QSvgRenderer renderer(resources.filePath(name));
        if (!renderer.isValid())
            continue;
        const QSize size = renderer.defaultSize().scaled(kSide, kSide, Qt::KeepAspectRatio);
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            renderer.render(&painter);
        }
        const QString target =
            QDir(folder).filePath(QFileInfo(name).completeBaseName() + QStringLiteral(".png"));
        if (QFileInfo::exists(target))
            continue; // never over a user's file
        const QByteArray png = Imaging::EncodePng(image.convertToFormat(QImage::Format_ARGB32));
        QSaveFile file(target);
        if (!png.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(png) == png.size() &&
            file.commit())
            ++written;
    }
    return written;
}

} // namespace ClipartStarterSet
