#include "app/ui/FStartbild.h"

#include "i18n/ulocalize.h"
#include "platform/uProgramInfo.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

TStartbild::TStartbild()
    : TLocalizerForm(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("Startbild"));
    setFixedSize(460, 260);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    Localize();
}

QString TStartbild::VersionText() const {
    return QString::asprintf(Translate(QStringLiteral("Version %s")).toUtf8().constData(),
                             ProgramInfo::ProgramVersion().toUtf8().constData());
}

void TStartbild::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, width(), height());
    background.setColorAt(0, QColor(244, 243, 238));
    background.setColorAt(1, QColor(214, 224, 240));
    painter.fillRect(rect(), background);
    painter.setPen(QColor(160, 160, 170));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));

    QFont title = font();
    title.setPixelSize(30);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(QColor(40, 60, 100));
    painter.drawText(rect().adjusted(20, 0, -20, -60), Qt::AlignCenter, ProgramInfo::ApplicationTitle());

    QFont small = font();
    small.setPixelSize(14);
    painter.setFont(small);
    painter.setPen(QColor(80, 80, 90));
    painter.drawText(rect().adjusted(20, 60, -20, -20), Qt::AlignCenter, VersionText());
}
