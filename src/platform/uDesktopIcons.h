#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The program's icons for the desktop: the application icon and the icon of project files,
// drawn as SVG (resources/icons) and installed into the hicolor theme as SVG and as PNGs of a few
// sizes rendered from it, both by an installation and by the designer for the user.
namespace DesktopIcons {

struct TIcon {
    QString Name;     // the icon name, e.g. "tintaro"
    QString Context;  // the theme folder: "apps" or "mimetypes"
    QString Resource; // the SVG among the program's resources
};

// The application icon and the project files' icon.
const QList<TIcon>& Icons();
// The pixel sizes of the PNGs: 48, 128 and 256.
const QList<int>& PngSizes();

// The SVG drawn into a transparent size x size picture, encoded as PNG; empty when the SVG cannot
// be read. The same SVG gives the same bytes, so an unchanged icon is not written again.
QByteArray RenderPng(const QByteArray& svg, int size);

// The path of an icon below the theme's root: "hicolor/48x48/apps/tintaro.png" for a size,
// "hicolor/scalable/apps/tintaro.svg" for size 0.
QString ThemePath(const TIcon& icon, int size);

} // namespace DesktopIcons
