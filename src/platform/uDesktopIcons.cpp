#include "platform/uDesktopIcons.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSvgRenderer>

namespace DesktopIcons {

const QList<TIcon>& Icons() {
    static const QList<TIcon> icons{
        {QStringLiteral("tintaro"), QStringLiteral("apps"), QStringLiteral(":/icons/tintaro.svg")},
        {QStringLiteral("application-x-tintaro-fbp"), QStringLiteral("mimetypes"),
         QStringLiteral(":/icons/application-x-tintaro-fbp.svg")},
    };
    return icons;
}

const QList<int>& PngSizes() {
    static const QList<int> sizes{48, 128, 256};
    return sizes;
}

QByteArray RenderPng(const QByteArray& svg, int size) {
    QSvgRenderer renderer(svg);
    if (!renderer.isValid() || size <= 0)
        return {};
    QImage picture(size, size, QImage::Format_ARGB32_Premultiplied);
    if (picture.isNull())
        return {};
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        renderer.render(&painter);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(picture.convertToFormat(QImage::Format_ARGB32)))
        return {};
    return png;
}

QString ThemePath(const TIcon& icon, int size) {
    const QString folder = size > 0 ? QStringLiteral("%1x%1").arg(size) : QStringLiteral("scalable");
    return QStringLiteral("hicolor/%1/%2/%3.%4")
        .arg(folder, icon.Context, icon.Name, size > 0 ? QStringLiteral("png") : QStringLiteral("svg"));
}

} // namespace DesktopIcons
