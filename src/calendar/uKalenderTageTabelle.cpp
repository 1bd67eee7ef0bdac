#include "calendar/uKalenderTageTabelle.h"

#include "calendar/uKalender.h"
#include "calendar/uKalenderBesondereTage.h"
#include "document/uFotobuchDocument.h"
#include "editing/uUndo.h"
#include "i18n/ulocalize.h"
#include "platform/uCodepage.h"

#include <algorithm>
#include <memory>
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

bool TKalenderTageBearbeitung::edited(TKalenderTageModel::Column column,
                                      const TKalenderTageListe& list) const {
    TKalenderTageModel shown(model_.Year());
    shown.FillColumn(column, list);
    for (int row = 0; row < model_.DayCount(); ++row)
        if (shown.CellText(row, column) != model_.CellText(row, column))
            return true;
    return false;
}

ICalendar::TMergeResult TKalenderTageBearbeitung::Importiere(const ICalendar::TReadResult& calendar,
                                                             ICalendar::TListKind kind) {
    const bool feiertageEdited = edited(TKalenderTageModel::FeiertageColumn, document_.Feiertage);
    const bool geburtstageEdited = edited(TKalenderTageModel::GeburtstageColumn, document_.Geburtstage);
    const bool hadRecorded = recorded_;
    record();
    if (feiertageEdited)
        model_.CommitColumn(TKalenderTageModel::FeiertageColumn, document_.Feiertage);
    if (geburtstageEdited)
        model_.CommitColumn(TKalenderTageModel::GeburtstageColumn, document_.Geburtstage);
    TKalenderTageListe& list =
        kind == ICalendar::TListKind::Holidays ? document_.Feiertage : document_.Geburtstage;
    const ICalendar::TMergeResult merged = ICalendar::Merge(calendar.Entries, list);
    if (merged.Added == 0 && !feiertageEdited && !geburtstageEdited) {
        if (!hadRecorded) {
            UndoManager().DropLast();
            recorded_ = false;
        }
        return merged;
    }
    model_.FillColumn(TKalenderTageModel::FeiertageColumn, document_.Feiertage);
    model_.FillColumn(TKalenderTageModel::GeburtstageColumn, document_.Geburtstage);
    document_.Modified = true;
    return merged;
}

std::optional<std::pair<int, int>> KalenderJahre(const TFBDocument& document) {
    std::optional<std::pair<int, int>> years;
    for (int p = 0; p < document.Pages.Count(); ++p) {
        const TFBElementList& calendars = document.Pages.Items(p)->Calendars;
        for (int i = 0; i < calendars.Count(); ++i) {
            const auto* calendar = dynamic_cast<const TFBKalenderElement*>(calendars.Items(i));
            if (!calendar || !calendar->Data)
                continue;
            const int year = calendar->Data->Jahr;
            years = years ? std::make_pair(std::min(years->first, year), std::max(years->second, year))
                          : std::make_pair(year, year);
        }
    }
    return years;
}

QString TKalenderTageBearbeitung::ImportiereDatei(const QString& path, ICalendar::TListKind kind) {
    const auto years = KalenderJahre(document_);
    const int first = years ? years->first : model_.Year();
    const int last = years ? years->second : model_.Year();
    const ICalendar::TReadResult calendar = ICalendar::ReadFile(path, kind, first, last);
    const ICalendar::TMergeResult merged = Importiere(calendar, kind);
    return ICalendar::ImportReport(calendar, merged);
}

QByteArray TKalenderTageBearbeitung::KalenderdateiText() const {
    const auto shown = [this](TKalenderTageModel::Column column, const TKalenderTageListe& list) {
        auto copy = std::make_unique<TKalenderTageListe>();
        for (int i = 0; i < list.Count(); ++i)
            copy->Add(list.Items(i).Text, QStringLiteral(", "), list.Items(i).Datum);
        model_.CommitColumn(column, *copy);
        return copy;
    };
    const auto feiertage = shown(TKalenderTageModel::FeiertageColumn, document_.Feiertage);
    const auto geburtstage = shown(TKalenderTageModel::GeburtstageColumn, document_.Geburtstage);
    return ICalendar::Write(*feiertage, *geburtstage);
}
