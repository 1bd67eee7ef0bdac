#pragma once

#include "calendar/uKalender.h"
#include "document/uDataFile.h"

#include <QBuffer>

#include <memory>
#include <utility>
#include <vector>

namespace KalenderSamples {

// A memory container that writes and reads back.
struct MemoryContainer {
    QByteArray bytes;
    QBuffer buffer{&bytes};
    std::unique_ptr<TMemoryDataFile> file;
    MemoryContainer() {
        buffer.open(QIODevice::ReadWrite);
        file = std::make_unique<TMemoryDataFile>(buffer);
    }
};

// Every field away from its reset and construction value.
inline void setEverything(TKalenderData& d) {
    d.Monat = 7;
    d.Jahr = 2031;
    d.Font = TFont(QStringLiteral("Times New Roman"), 14, fsBold, 0x112233);
    d.WochentagFont = TFont(QStringLiteral("Courier New"), 9, fsItalic, 0x445566);
    d.MonatJahrFont = TFont(QStringLiteral("Verdana"), 22, fsUnderline | fsBold, 0x778899);
    d.SondertagFont = TFont(QStringLiteral("Georgia"), 7, fsStrikeOut, 0x0A0B0C);
    d.TextColorSonntag = 1;
    d.TextColorSamstag = 2;
    d.Color = 3;
    d.ColorZeilen = 4;
    d.ColorZellen = 5;
    d.CellPadding.SetValues(1, 2, 3, 4);
    d.RowPadding.SetValues(5, 6, 7, 8);
    d.CellSpacing.SetValues(9, 10, 11, 12);
    d.RowSpacing.SetValues(13, 14, 15, 16);
    d.FontHeight = 61.5f;
    d.FTextAlign = 10;
    d.ShowWochentage = false;
    d.WochentagSize = 12.25f;
    d.WochentagCellPadding.SetValues(-1, -2, -3, -4);
    d.WochentagRowPadding.SetValues(21, 22, 23, 24);
    d.WochentagCellSpacing.SetValues(25, 26, 27, 28);
    d.WochentagColorZeile = 6;
    d.WochentagTextAlign = 2;
    d.WochentagFontHeight = 33.0f;
    d.WochentagRowSpacing.SetValues(29, 30, 31, 32);
    d.WochentagColorZelle = 7;
    d.ShowMonatJahr = false;
    d.MonatJahrTextAlign = 8;
    d.MonatJahrFontHeight = 70.0f;
    d.MonatJahrSize = 20.0f;
    d.MonatJahrColorZeile = 8;
    d.MonatJahrRowPadding.SetValues(33, 34, 35, 36);
    d.MonatJahrRowSpacing.SetValues(37, 38, 39, 40);
    d.ShowMonatJahrOnBottom = true;
    d.MonatJahrZweizeilig = true;
    d.Typ = 3;
    d.TextColorFeiertag = 9;
    d.TextColorGeburtstag = 10;
    d.ShowSondertage = true;
    d.SondertagFontHeight = 40.0f;
    d.SondertagSize = 11.0f;
    d.SondertagColorZeile = 11;
    d.SondertagRowSpacing.SetValues(41, 42, 43, 44);
    d.SondertagRowPadding.SetValues(45, 46, 47, 48);
    d.SonderTagTextAlign = 9;
}

// The stored form of the settings, item by item, as the comparison of two objects.
inline std::vector<std::pair<QString, QByteArray>> storedForm(const TKalenderData& data) {
    MemoryContainer c;
    data.Save(*c.file, QStringLiteral("S"));
    c.file->BuildCache();
    std::vector<std::pair<QString, QByteArray>> items;
    for (const TDataFileCacheItem& item : c.file->CacheItems()) {
        QByteArray value;
        c.file->ReadBuffer(item.Section, item.Key, value);
        items.emplace_back(item.Section + QLatin1Char('|') + item.Key, value);
    }
    return items;
}

} // namespace KalenderSamples
