#pragma once

#include <QString>

#include <memory>
#include <vector>

// One special day: a date (days since 30 December 1899) with its text.
class TKalendertagSpezial {
public:
    QString Text;
    double Datum = 0.0;
};

// The holidays or the birthdays of a document, in insertion order.
class TKalenderTageListe {
public:
    TKalenderTageListe() = default;
    TKalenderTageListe(const TKalenderTageListe&) = delete;
    TKalenderTageListe& operator=(const TKalenderTageListe&) = delete;

    // Joins the text to an entry of exactly this date, or appends a new entry.
    void Add(const QString& text, const QString& separator, double date);
    void Clear() { items_.clear(); }
    int Count() const { return static_cast<int>(items_.size()); }
    const TKalendertagSpezial& Items(int index) const;
    int IndexOfDate(double date) const;
    bool FindText(double date, QString& text) const;
    bool Contains(double date) const { return IndexOfDate(date) >= 0; }

private:
    std::vector<std::unique_ptr<TKalendertagSpezial>> items_;
};
