#include "app/ui/FProgressDlg.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

TProgressDlg::TProgressDlg(QWidget* owner)
    : TLocalizerDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                  Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("ProgressDlg"));
    setWindowTitle(QStringLiteral("Fortschritt"));
    setModal(false);
    lText = new QLabel(this);
    lText->setObjectName(QStringLiteral("lText"));
    lText->setAlignment(Qt::AlignCenter);
    lText->setWordWrap(true);
    lText->setMinimumWidth(320);
    LocalizerForms::KeepUntranslated(lText); // the progress of the work under way
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->addWidget(lText);
    setFixedSize(380, 110);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
    Localize();
}

void TProgressDlg::SetText(const QString& text) {
    lText->setText(text);
    lText->repaint();
}

QString TProgressDlg::Text() const {
    return lText->text();
}

void TProgressDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
}

void TProgressDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        return; // Esc would reject the dialog
    QDialog::keyPressEvent(event);
}
