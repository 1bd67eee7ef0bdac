#include "document/uDocumentFile.h"

#include "document/uDataFile.h"
#include "document/uFotobuchDocument.h"
#include "platform/Exception.h"

// The stored form of documents is not there yet: both refuse with a clear message instead of
// writing an empty project or pretending to have read one.
void SaveDocument(TFBDocument&, TCustomDataFile&) {
    throw Exception(QStringLiteral("Projektdateien können noch nicht gespeichert werden."));
}

void LoadDocument(TFBDocument& document, TCustomDataFile&) {
    document.Reset();
    throw Exception(QStringLiteral("Projektdateien können noch nicht gelesen werden."));
}
