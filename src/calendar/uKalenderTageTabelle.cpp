#include "calendar/uKalenderTageTabelle.h"

#include "calendar/uKalender.h"
#include "calendar/uKalenderBesondereTage.h"
#include "document/uFotobuchDocument.h"
#include "editing/uUndo.h"
#include "i18n/ulocalize.h"
#include "platform/uCodepage.h"

#include <algorithm>
#include <utility>
#include <vector>

TKalenderTageModel::TKalenderTageModel(int year, QObject* parent) : QAbstractTableModel(parent), year_(year) {
    const int days = QDate(year, 1, 1).daysTo(QDate(year + 1, 1, 1));
    for (QStringList& column : texts_)
        column = QStringList(days, QString());
}

int TKalenderTageModel::RowOfDate(const QDate& date) const {
    if (!date.isValid() || date.year() != year_)
        return -1;
    return date.dayOfYear() - 1;
}

void TKalenderTageModel::FillColumn(Column column, const TKalenderTageListe& list) {
    QStringList& texts = texts_[column];
    texts.fill(QString());
    for (int i = 0; i < list.Count(); ++i) {
        const TKalendertagSpezial& entry = list.Items(i);
        const int row = RowOfDate(entry.Date());
        if (row >= 0)
            texts[row] = entry.Text;
    }
    emit dataChanged(index(0, column), index(DayCount() - 1, column));
}

void TKalenderTageModel::CommitColumn(Column column, TKalenderTageListe& list) const {
    list.DeleteYear(year_);
    const QStringList& texts = texts_[column];
    for (int row = 0; row < texts.size(); ++row) {
        const QString text = texts[row].trimmed();
        if (!text.isEmpty())
            list.Add(text, QStringLiteral(", "), DateOfRow(row));
    }
}

QString TKalenderTageModel::CellText(int row, Column column) const {
    if (row < 0 || row >= DayCount())
        return {};
    if (column == DatumColumn)
        return DateOfRow(row).toString(QStringLiteral("dd.MM.yyyy"));
    return texts_[column][row];
}

bool TKalenderTageModel::SetCellText(int row, Column column, const QString& text) {
    if (row < 0 || row >= DayCount() || column == DatumColumn || !IsStorable(text))
        return false;
    if (texts_[column][row] != text) {
        texts_[column][row] = text;
        emit dataChanged(index(row, column), index(row, column));
    }
    return true;
}

bool TKalenderTageModel::IsStorable(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return Codepage::ansiOf(c.unicode()) >= 0; });
}

void TKalenderTageModel::Retranslate() {
    emit headerDataChanged(Qt::Horizontal, 0, 2);
}

int TKalenderTageModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : DayCount();
}

int TKalenderTageModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 3;
}

QVariant TKalenderTageModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return CellText(index.row(), Column(index.column()));
}

bool TKalenderTageModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    return SetCellText(index.row(), Column(index.column()), value.toString());
}

Qt::ItemFlags TKalenderTageModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (index.column() == DatumColumn)
        return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant TKalenderTageModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case DatumColumn:
        return Translate(QStringLiteral("Datum"));
    case FeiertageColumn:
        return Translate(QStringLiteral("Feiertage"));
    case GeburtstageColumn:
        return Translate(QStringLiteral("Geburtstage"));
    default:
        return {};
    }
}

// ---------------------------------------------------------------------------------------------

namespace {

// The entries of a list in an order of their own, for telling whether OK changed anything
// (DeleteYear sorts the list, which alone is no change).
std::vector<std::pair<double, QString>> entriesOf(const TKalenderTageListe& list) {
    std::vector<std::pair<double, QString>> entries;
    for (int i = 0; i < list.Count(); ++i)
        entries.emplace_back(list.Items(i).Datum, list.Items(i).Text);
    std::sort(entries.begin(), entries.end());
    return entries;
}

} // namespace

TKalenderTageBearbeitung::TKalenderTageBearbeitung(TFBDocument& document, int year, int month)
    : document_(document), model_(year) {
    model_.FillColumn(TKalenderTageModel::FeiertageColumn, document.Feiertage);
    model_.FillColumn(TKalenderTageModel::GeburtstageColumn, document.Geburtstage);
    startRow_ = std::max(0, model_.RowOfDate(QDate(year, std::clamp(month, 1, 12), 1)));
}

void TKalenderTageBearbeitung::record() {
    if (recorded_)
        return;
    UndoManager().AddFeiertageGeburtstage(document_);
    recorded_ = true;
}

void TKalenderTageBearbeitung::BerechneFeiertage() {
    record();
    ComputeHolidays(document_.Feiertage, model_.Year());
    model_.FillColumn(TKalenderTageModel::FeiertageColumn, document_.Feiertage);
    document_.Modified = true;
}

bool TKalenderTageBearbeitung::Uebernehmen() {
    const auto feiertage = entriesOf(document_.Feiertage);
    const auto geburtstage = entriesOf(document_.Geburtstage);
    const bool hadRecorded = recorded_;
    record();
    model_.CommitColumn(TKalenderTageModel::FeiertageColumn, document_.Feiertage);
    model_.CommitColumn(TKalenderTageModel::GeburtstageColumn, document_.Geburtstage);
    const bool changed =
        entriesOf(document_.Feiertage) != feiertage || entriesOf(document_.Geburtstage) != geburtstage;
    if (!changed && !hadRecorded) {
        UndoManager().DropLast();
        recorded_ = false;
        return false;
    }
    if (changed)
        document_.Modified = true;
    return changed;
}
