#include "app/ui/FWiederherstellungDlg.h"

#include "i18n/ulocalize.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

TWiederherstellungDlg::TWiederherstellungDlg(QWidget* owner, const std::vector<TRecoveryEntry>& copies)
    : TLocalizerDialog(owner), copies_(copies) {
    setObjectName(QStringLiteral("WiederherstellungDlg"));
    setWindowTitle(QStringLiteral("Projekte wiederherstellen"));
    lblHinweis =
        new QLabel(QStringLiteral("Das Programm wurde zuletzt nicht ordnungsgemäß beendet. Von diesen "
                                  "Projekten gibt es Kopien mit Änderungen, die nicht gespeichert wurden:"),
                   this);
    lblHinweis->setObjectName(QStringLiteral("lblHinweis"));
    lblHinweis->setWordWrap(true);

    lvKopien = new QTreeWidget(this);
    lvKopien->setObjectName(QStringLiteral("lvKopien"));
    lvKopien->setHeaderLabels(
        {QStringLiteral("Projekt"), QStringLiteral("Ordner"), QStringLiteral("Gesichert")});
    lvKopien->setRootIsDecorated(false);
    lvKopien->setSelectionMode(QAbstractItemView::SingleSelection);
    lvKopien->setMinimumSize(520, 140);
    lvKopien->header()->setStretchLastSection(false);
    lvKopien->header()->setSectionResizeMode(1, QHeaderView::Stretch);

    btnWiederherstellen = new QPushButton(QStringLiteral("Projekt wiederherstellen"), this);
    btnWiederherstellen->setObjectName(QStringLiteral("btnWiederherstellen"));
    btnWiederherstellen->setDefault(true);
    btnVerwerfen = new QPushButton(QStringLiteral("Verwerfen"), this);
    btnVerwerfen->setObjectName(QStringLiteral("btnVerwerfen"));
    btnSpaeter = new QPushButton(QStringLiteral("Später"), this);
    btnSpaeter->setObjectName(QStringLiteral("btnSpaeter"));
    connect(btnWiederherstellen, &QPushButton::clicked, this,
            [this] { finish(TRecoveryAnswer::TAction::Restore); });
    connect(btnVerwerfen, &QPushButton::clicked, this, [this] { finish(TRecoveryAnswer::TAction::Discard); });
    connect(btnSpaeter, &QPushButton::clicked, this, [this] { finish(TRecoveryAnswer::TAction::Later); });
    connect(lvKopien, &QTreeWidget::itemSelectionChanged, this, &TWiederherstellungDlg::updateButtons);
    connect(lvKopien, &QTreeWidget::itemDoubleClicked, this,
            [this] { finish(TRecoveryAnswer::TAction::Restore); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnWiederherstellen);
    buttons->addWidget(btnVerwerfen);
    buttons->addStretch(1);
    buttons->addWidget(btnSpaeter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblHinweis);
    layout->addWidget(lvKopien, 1);
    layout->addLayout(buttons);

    // Closing the window puts the decision off, as "Später" does.
    answer_.Action = TRecoveryAnswer::TAction::Later;
    Localize();
    SelectRow(0);
}

void TWiederherstellungDlg::AfterTranslate() {
    fillRows();
}

void TWiederherstellungDlg::fillRows() {
    const int selected = lvKopien->currentIndex().row();
    lvKopien->clear();
    for (const TRecoveryEntry& copy : copies_) {
        const QFileInfo original(copy.OriginalPath);
        auto* row = new QTreeWidgetItem(lvKopien);
        row->setText(0, copy.OriginalPath.isEmpty() ? Translate(QStringLiteral("Unbenannt"))
                                                    : original.fileName());
        row->setText(1, copy.OriginalPath.isEmpty() ? QString()
                                                    : QDir::toNativeSeparators(original.absolutePath()));
        row->setText(2, QLocale().toString(copy.SavedAt, QLocale::ShortFormat));
        row->setToolTip(1, row->text(1));
    }
    for (int column = 0; column < 3; ++column)
        if (column != 1)
            lvKopien->resizeColumnToContents(column);
    SelectRow(selected < 0 ? 0 : selected);
}

void TWiederherstellungDlg::SelectRow(int row) {
    if (row >= 0 && row < lvKopien->topLevelItemCount())
        lvKopien->setCurrentItem(lvKopien->topLevelItem(row));
    updateButtons();
}

void TWiederherstellungDlg::updateButtons() {
    const bool chosen = lvKopien->currentItem() != nullptr;
    btnWiederherstellen->setEnabled(chosen);
    btnVerwerfen->setEnabled(chosen);
}

void TWiederherstellungDlg::finish(TRecoveryAnswer::TAction action) {
    answer_.Action = action;
    answer_.Index = lvKopien->currentIndex().row();
    if (action != TRecoveryAnswer::TAction::Later && answer_.Index < 0)
        return;
    accept();
}
