#pragma once

// A document that uses every stored key with values other than the defaults: three pages in book
// mode, frames with pictures and borders, a colour area, a panorama link across a spread, text
// with shadow, clipart and a calendar element.

#include "document/uDataFile.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "support/PageElements.h"

#include <QBuffer>
#include <QImage>
#include <QString>

namespace SampleDocument {

// A small PNG with transparency, as clipart files are.
inline QString writeClipartFile(const QString& folder) {
    QImage image(24, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 4; y < 12; ++y)
        for (int x = 6; x < 18; ++x)
            image.setPixel(x, y, qRgba(200, 40, 20, 255));
    const QString path = folder + QStringLiteral("/herz.png");
    image.save(path, "PNG");
    return path;
}

inline void fill(TFBDocument& doc, const QString& folder) {
    doc.Reset();
    doc.Dokumentname = QStringLiteral("Photobook 8:5 Größe");
    doc.ScreenMode = 1;
    doc.DocType = 2;
    doc.PageWidth = 148.5f;
    doc.PageHeight = 210.25f;
    doc.Stegbreite = 2.5f;
    doc.Umschlagbreite = 4.75f;
    doc.PrintPaperName = QStringLiteral("ID_DINA4");
    doc.PrintPaperSize = 9;
    doc.PrintPaperWidth = 210;
    doc.PrintPaperHeight = 297;
    doc.PrintPaperType = QStringLiteral("ID_Photopapier_matt");
    doc.PicturesHaveShadows = false;
    doc.PrintBorderless = true;
    doc.PictureShadowsAllowed = false;
    doc.PrintSetting = 2;
    TFBLayoutTypen types;
    types.Include(TFBLayoutTyp::ltPhotoBook85);
    types.Include(TFBLayoutTyp::ltKalenderA6);
    doc.Layouttypen = types;
    doc.LayoutSubTyp = QStringLiteral("Horizon R");
    doc.LayoutStil = 6;
    doc.ScreenQuerformatWinkel = 270;
    doc.NurEinLayoutStil = true;

    TestSupport::addPages(doc, 3);
    TFBPage* p0 = doc.Pages.Items(0);
    TFBPage* p1 = doc.Pages.Items(1);
    TFBPage* p2 = doc.Pages.Items(2);
    p0->Seitenfarbe = 0x00336699;
    p1->Seitenausrichtung = 1;
    p2->CustomLayoutStil = 14;

    auto* area = TestSupport::placeElement<TFBPictureElement>(p0, 70, 100.5f, 120, 80, 12.5f);
    area->SetColorFill(0x0000FF);
    area->SetBorderWidth(1.25f);
    area->SetBorderColor(0x00FF00);

    auto* left = TestSupport::placeElement<TFBPictureElement>(p1, 100, 90, 90, 60);
    auto* right = TestSupport::placeElement<TFBPictureElement>(p2, 40, 90, 70, 60);
    TestSupport::placeElement<TFBPictureElement>(p2, 20, 20, 30, 30); // stays empty
    TFBPictureLink* link = doc.AddPictureLink();
    link->Add(left);
    link->Add(right);
    left->SetColorFill(0x00AA5500);
    left->CanZoomAndTrack = true;
    left->SetZoom(2.5f);
    left->SetOffsetX(0.25f);
    left->SetOffsetY(0.75f);

    auto* text = TestSupport::placeElement<TFBTextElement>(p1, 50, 180, 80, 20, -5);
    text->SetRTF(QByteArrayLiteral("{\\rtf1\\ansi Gr\\'fc\\'dfe aus \xe4\xf6\xfc}"));
    text->SetHasShadow(true);
    text->SetHorzAlign(1);
    text->SetVertAlign(4);

    auto* clipart =
        static_cast<TFBClipartElement*>(p2->Sizeables.Add(std::make_unique<TFBClipartElement>(p2)));
    clipart->CenterX = 120;
    clipart->CenterY = 150;
    clipart->SetClipartFile(writeClipartFile(folder));
    clipart->Angle = 30;

    auto* calendar = TestSupport::placeElement<TFBKalenderElement>(p0, 74, 180, 140, 50);
    calendar->Data->SetMonat(3);
    calendar->Data->SetJahr(2027);

    doc.Modified = true;
}

// The document saved into a fresh memory container.
inline QByteArray saved(TFBDocument& doc) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    {
        TMemoryDataFile file(buffer);
        SaveDocument(doc, file);
    }
    buffer.close();
    return bytes;
}

// Loads the document from container bytes.
inline void load(TFBDocument& doc, QByteArray bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TMemoryDataFile file(buffer);
    LoadDocument(doc, file);
}

} // namespace SampleDocument
