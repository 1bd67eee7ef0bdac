#include "calendar/uKalenderBesondereTage.h"

#include "document/uFotobuchList.h"

void TKalenderTageListe::Add(const QString& text, const QString& separator, double date) {
    const int index = IndexOfDate(date);
    if (index >= 0) {
        items_[index]->Text += separator + text;
        return;
    }
    auto item = std::make_unique<TKalendertagSpezial>();
    item->Text = text;
    item->Datum = date;
    items_.push_back(std::move(item));
}

const TKalendertagSpezial& TKalenderTageListe::Items(int index) const {
    if (index < 0 || index >= Count())
        ThrowListIndexError(index);
    return *items_[index];
}

int TKalenderTageListe::IndexOfDate(double date) const {
    for (int i = 0; i < Count(); ++i)
        if (items_[i]->Datum == date)
            return i;
    return -1;
}

bool TKalenderTageListe::FindText(double date, QString& text) const {
    const int index = IndexOfDate(date);
    if (index < 0)
        return false;
    text = items_[index]->Text;
    return true;
}
