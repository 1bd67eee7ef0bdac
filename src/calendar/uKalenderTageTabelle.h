#pragma once

#include "calendar/uICalendar.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QStringList>

#include <array>
#include <optional>
#include <utility>

class TFBDocument;
class TKalenderTageListe;

// The holidays and birthdays of one year as a table: one row per day of the year, column 0 the
// date ("dd.mm.yyyy", neither selectable nor editable), column 1 the holidays, column 2 the
// birthdays. The column titles are the horizontal header. Only text that a project can store
// (Windows-1252) is taken into a cell, so the table always shows what will be saved.
class TKalenderTageModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { DatumColumn = 0, FeiertageColumn = 1, GeburtstageColumn = 2 };

    explicit TKalenderTageModel(int year, QObject* parent = nullptr);

    int Year() const { return year_; }
    int DayCount() const { return int(texts_[0].size()); }
    QDate DateOfRow(int row) const { return QDate(year_, 1, 1).addDays(row); }
    // The row of a date of the year, or -1.
    int RowOfDate(const QDate& date) const;

    // The column shows the list's entries of the year, each on the row of its day; a later entry
    // of a day overwrites an earlier one. Other years do not show.
    void FillColumn(Column column, const TKalenderTageListe& list);
    // The list loses its entries of the year and gets one per non-empty cell of the column, in
    // row order; entries of other years stay.
    void CommitColumn(Column column, TKalenderTageListe& list) const;

    QString CellText(int row, Column column) const;
    // False (nothing changes) when the text holds a character a project cannot store.
    bool SetCellText(int row, Column column, const QString& text);
    static bool IsStorable(const QString& text);

    // The column titles follow the interface language.
    void Retranslate();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    int year_;
    // By column 1 and 2 (index 0 unused, so a column is its own index), one text per row.
    std::array<QStringList, 3> texts_;
};

// What the holidays and birthdays dialog does to the document: it edits the document's two lists
// in place for one year. Its first change records one undo step that brings both lists back;
// every change marks the document modified.
class TKalenderTageBearbeitung {
public:
    // The year and month of the calendar the dialog was opened for.
    TKalenderTageBearbeitung(TFBDocument& document, int year, int month);

    TKalenderTageModel& Model() { return model_; }
    // The row of the first day of the calendar's month: where the cursor starts.
    int StartRow() const { return startRow_; }

    // The German public holidays of the year replace the holidays of that year (other years
    // stay); the holidays column shows the result.
    void BerechneFeiertage();
    // OK: both lists take the year's rows of their columns. False when that changed nothing, so
    // no undo step is left and the document is not marked modified for it.
    bool Uebernehmen();
    // The days of a calendar file join the holidays or the birthdays (texts a date already holds
    // are left out); what was typed into the table joins its list first, so nothing typed is lost
    // when the columns show the result. Like the computed holidays, the import stays when the
    // dialog is cancelled. Records the undo step and marks the document modified when it adds
    // anything.
    ICalendar::TMergeResult Importiere(const ICalendar::TReadResult& calendar, ICalendar::TListKind kind);
    // The calendar file at `path` for the years of the document's calendars (the dialog's year
    // when it has none) as above; returns the report line for the user. Raises Exception when
    // the file cannot be read or is no calendar file, with nothing changed.
    QString ImportiereDatei(const QString& path, ICalendar::TListKind kind);
    // Both lists as a calendar file, the year as the table shows it.
    QByteArray KalenderdateiText() const;
    // Whether the dialog recorded its undo step.
    bool Recorded() const { return recorded_; }

private:
    void record();
    // Whether the column shows something other than the list's entries of the year.
    bool edited(TKalenderTageModel::Column column, const TKalenderTageListe& list) const;
    TFBDocument& document_;
    TKalenderTageModel model_;
    int startRow_ = 0;
    bool recorded_ = false;
};

// The first and the last year the document's calendars show; nothing without calendars.
std::optional<std::pair<int, int>> KalenderJahre(const TFBDocument& document);
