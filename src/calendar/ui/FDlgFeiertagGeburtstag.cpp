#include "calendar/ui/FDlgFeiertagGeburtstag.h"

#include "i18n/ulocalize.h"
#include "platform/Exception.h"
#include "platform/uAtomicFile.h"
#include "platform/uProgramInfo.h"

#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <QValidator>

#include <algorithm>

namespace {

// A character a project cannot store never gets into the cell editor.
class TStorableTextValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& text, int&) const override {
        return TKalenderTageModel::IsStorable(text) ? Acceptable : Invalid;
    }
};

class TTageDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setObjectName(QStringLiteral("CellEditor"));
            line->setValidator(new TStorableTextValidator(line));
        }
        return editor;
    }
};

} // namespace

TKalenderTageView::TKalenderTageView(QWidget* parent) : QTableView(parent) {
    setItemDelegate(new TTageDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // A compact grid: a year is long.
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    setWordWrap(false);
}

void TKalenderTageView::CommitOpenEditor() {
    if (state() != QAbstractItemView::EditingState)
        return;
    // The editor of the current cell has the focus while it is open.
    QWidget* editor = QApplication::focusWidget();
    if (!editor || !viewport()->isAncestorOf(editor))
        editor = viewport()->findChild<QLineEdit*>(QStringLiteral("CellEditor"));
    if (!editor)
        return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void TKalenderTageView::FitColumns() {
    const int dateWidth = fontMetrics().horizontalAdvance(QStringLiteral("00.00.0000")) + 10;
    const int rest = std::max(0, viewport()->width() - dateWidth);
    setColumnWidth(TKalenderTageModel::DatumColumn, dateWidth);
    setColumnWidth(TKalenderTageModel::FeiertageColumn, rest / 2);
    setColumnWidth(TKalenderTageModel::GeburtstageColumn, rest - rest / 2);
}

void TKalenderTageView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    FitColumns();
}

// ---------------------------------------------------------------------------------------------

TDlgFeiertagGeburtstag::TDlgFeiertagGeburtstag(QWidget* owner, TFBDocument& document, int year, int month)
    : TLocalizerDialog(owner), bearbeitung_(document, year, month) {
    setObjectName(QStringLiteral("DlgFeiertagGeburtstag"));
    setWindowTitle(QStringLiteral("Feiertage und Geburtstage"));
    table_ = new TKalenderTageView(this);
    table_->setObjectName(QStringLiteral("sgTage"));
    table_->setModel(&bearbeitung_.Model());
    BtnFeiertageBerechnen = new QPushButton(QStringLiteral("Feiertage berechnen"), this);
    BtnFeiertageBerechnen->setObjectName(QStringLiteral("BtnFeiertageBerechnen"));
    BtnFeiertageBerechnen->setAutoDefault(false);
    BtnOK = new QPushButton(QStringLiteral("OK"), this);
    BtnOK->setObjectName(QStringLiteral("BtnOK"));
    BtnOK->setDefault(true);
    BtnAbbrechen = new QPushButton(QStringLiteral("Abbrechen"), this);
    BtnAbbrechen->setObjectName(QStringLiteral("BtnAbbrechen"));
    BtnAbbrechen->setAutoDefault(false);

    ShowInformation = [](QWidget* parent, const QString& text) {
        QMessageBox::information(parent, ProgramInfo::ApplicationTitle(), text, QMessageBox::Ok);
    };

    connect(BtnFeiertageBerechnen, &QPushButton::clicked, this, &TDlgFeiertagGeburtstag::BerechneFeiertage);
    connect(BtnOK, &QPushButton::clicked, this, &TDlgFeiertagGeburtstag::Ok);
    connect(BtnAbbrechen, &QPushButton::clicked, this, &QDialog::reject);

    BuildKalenderdatei();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BtnFeiertageBerechnen);
    buttons->addWidget(BtnKalenderdatei);
    buttons->addStretch();
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnAbbrechen);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addLayout(buttons);
    resize(560, 520);

    PlaceCursor();
    Localize();
}

void TDlgFeiertagGeburtstag::AfterTranslate() {
    // The computed holidays are the German ones: only the German interface offers them.
    BtnFeiertageBerechnen->setVisible(CurrentLanguage() == kLanguageGerman);
    bearbeitung_.Model().Retranslate();
    KalenderdateiTexte();
}

void TDlgFeiertagGeburtstag::PlaceCursor() {
    const QModelIndex start =
        bearbeitung_.Model().index(bearbeitung_.StartRow(), TKalenderTageModel::FeiertageColumn);
    table_->setCurrentIndex(start);
    table_->scrollTo(start, QAbstractItemView::PositionAtTop);
}

void TDlgFeiertagGeburtstag::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The table has its size only now; the first day of the month goes to the top again.
    table_->FitColumns();
    PlaceCursor();
    table_->setFocus(Qt::OtherFocusReason);
}

void TDlgFeiertagGeburtstag::BerechneFeiertage() {
    table_->CommitOpenEditor();
    bearbeitung_.BerechneFeiertage();
    // The note is the German one, like the holidays it speaks of.
    if (ShowInformation)
        ShowInformation(this, QStringLiteral("Die deutschen Feiertage wurden eingetragen.\n\n"
                                             "Sie können die Feiertage, die für Ihr Bundesland nicht "
                                             "zutreffen, herauslöschen."));
}

void TDlgFeiertagGeburtstag::Ok() {
    table_->CommitOpenEditor();
    bearbeitung_.Uebernehmen();
    accept();
}

// --- calendar files ------------------------------------------------------------------------------

void TDlgFeiertagGeburtstag::BuildKalenderdatei() {
    BtnKalenderdatei = new QPushButton(this);
    BtnKalenderdatei->setObjectName(QStringLiteral("BtnKalenderdatei"));
    BtnKalenderdatei->setAutoDefault(false);
    auto* menu = new QMenu(BtnKalenderdatei);
    menu->setObjectName(QStringLiteral("pmKalenderdatei"));
    const auto add = [menu](const char* name, auto handler) {
        QAction* action = menu->addAction(QString());
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, menu, handler);
    };
    add("mnuFeiertageImportieren", [this] { ImportiereKalenderdatei(ICalendar::TListKind::Holidays); });
    add("mnuGeburtstageImportieren", [this] { ImportiereKalenderdatei(ICalendar::TListKind::Birthdays); });
    add("mnuKalenderdateiExportieren", [this] { ExportiereKalenderdatei(); });
    BtnKalenderdatei->setMenu(menu);

    ChooseCalendarFile = [](QWidget* parent, bool save) {
        const QString filter = Translate(QStringLiteral("Kalenderdateien (*.ics)"));
        if (!save)
            return QFileDialog::getOpenFileName(parent, Translate(QStringLiteral("Kalenderdatei")), {},
                                                filter);
        QFileDialog dialog(parent, Translate(QStringLiteral("Kalenderdatei")));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilter(filter);
        dialog.setDefaultSuffix(QStringLiteral("ics"));
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
                   ? dialog.selectedFiles().first()
                   : QString();
    };
    ShowError = [](QWidget* parent, const QString& text) {
        QMessageBox::critical(parent, ProgramInfo::ApplicationTitle(), text);
    };
}

void TDlgFeiertagGeburtstag::KalenderdateiTexte() {
    BtnKalenderdatei->setText(Translate(QStringLiteral("Kalenderdatei")));
    const QList<QAction*> actions = BtnKalenderdatei->menu()->actions();
    actions[0]->setText(Translate(QStringLiteral("Als Feiertage importieren...")));
    actions[1]->setText(Translate(QStringLiteral("Als Geburtstage importieren...")));
    actions[2]->setText(Translate(QStringLiteral("Exportieren...")));
}

void TDlgFeiertagGeburtstag::ImportiereKalenderdatei(ICalendar::TListKind kind) {
    table_->CommitOpenEditor();
    const QString path = ChooseCalendarFile ? ChooseCalendarFile(this, false) : QString();
    if (path.isEmpty())
        return;
    QString report;
    try {
        report = bearbeitung_.ImportiereDatei(path, kind);
    } catch (const Exception& e) {
        if (ShowError)
            ShowError(this, e.message());
        return;
    }
    if (ShowInformation)
        ShowInformation(this, report);
}

void TDlgFeiertagGeburtstag::ExportiereKalenderdatei() {
    table_->CommitOpenEditor();
    const QString path = ChooseCalendarFile ? ChooseCalendarFile(this, true) : QString();
    if (path.isEmpty())
        return;
    try {
        const QByteArray text = bearbeitung_.KalenderdateiText();
        TAtomicFile file(path);
        if (file.write(text) != text.size())
            throw Exception(
                Translate(QStringLiteral("Die Datei %1 kann nicht geschrieben werden.")).arg(path));
        file.Commit();
    } catch (const Exception& e) {
        if (ShowError)
            ShowError(this, e.message());
    }
}
