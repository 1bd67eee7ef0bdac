#pragma once

#include "document/uFBColor.h"
#include "document/uFotobuchList.h"

#include <QList>
#include <QString>

class TFBDocument;

// The product catalogue: every product the program can make, known by its product code, and what
// defines it in a document (page size, paper, print setting, borderless printing, how pages are
// shown and put on sheets, the layouts on offer, the pages with their frames, layouts and, for
// calendars, one calendar per month with its preset look).

// Fills the document with the product of the code, replacing everything it held. Photo books,
// prints and sheets get pageCount pages (at least one); calendars always get twelve month pages
// of the year (kept within 1700..2500) followed by their cover page. A code that the catalogue
// does not know leaves the document untouched and returns false.
bool CreateProductDocument(TFBDocument& document, int productCode, int year, int pageCount);
// The same with the page count that the new-project wizard passes for the code.
bool CreateProductDocument(TFBDocument& document, int productCode, int year);

// Every code of the catalogue in ascending order, and whether the new-project wizard offers it.
QList<int> ProductCodes();
bool IsProductCode(int productCode);
bool IsWizardProduct(int productCode);
// The page count the wizard passes for the code (12 month pages + the cover for calendars);
// 0 for an unknown code.
int WizardPageCount(int productCode);

// Makes the document the empty default document: the "DIN A4 Randlos" product with one page and
// an empty Dokumentname. Used when the main window is created and when a project is closed.
void ResetToEmptyDocument(TFBDocument& document);

// The named colours offered for page and area fills, in their fixed order, each name translated;
// the last entry, "Eigene Farbe" with colour -1, lets the user pick the colour. The list is
// cleared first.
class TFBColorObjectList : public TFBOwningList<TFBColor> {};
void FillColorList(TFBColorObjectList& list);

// The fixed names of the print setting numbers 1-17 ("PocketBooklet" ... "KalenderA6"); they
// select where the printer settings of a product are kept. Empty for 0 and unknown numbers.
QString PrintSettingName(int printSetting);

// Run once at start-up: registers the catalogue's translatable names with the localizer and
// builds the layout catalogue.
void InitProductCatalogue();
// The product, paper and colour names the catalogue looks up in the language tables.
void RegisterCatalogueTexts();
