// desktop-icon-render IN.svg OUT.png SIZE: renders one of the program's SVG icons into a PNG for
// an installation, the same way the designer renders it for the user.
#include "platform/uDesktopIcons.h"

#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: desktop-icon-render IN.svg OUT.png SIZE\n");
        return 2;
    }
    QFile in(args[1]);
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "desktop-icon-render: cannot read %s\n", qPrintable(args[1]));
        return 2;
    }
    const QByteArray png = DesktopIcons::RenderPng(in.readAll(), args[3].toInt());
    QSaveFile out(args[2]);
    if (png.isEmpty() || !out.open(QIODevice::WriteOnly) || out.write(png) != png.size() || !out.commit()) {
        std::fprintf(stderr, "desktop-icon-render: cannot make %s\n", qPrintable(args[2]));
        return 2;
    }
    return 0;
}
