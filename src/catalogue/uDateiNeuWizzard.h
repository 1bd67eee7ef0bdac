#pragma once

class TFBDocument;

// Makes the document the empty default document: the "DIN A4 Randlos" product with one page and
// an empty Dokumentname. Used when the main window is created and when a project is closed.
// Until the product catalogue exists it only resets the document and clears its name.
void ResetToEmptyDocument(TFBDocument& document);
