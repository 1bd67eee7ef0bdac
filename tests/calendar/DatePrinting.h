#pragma once

#include <QDate>

#include <ostream>

// Dates in failure messages as YYYY-MM-DD instead of their bytes.
inline void PrintTo(const QDate& date, std::ostream* os) {
    *os << date.toString(Qt::ISODate).toStdString();
}
