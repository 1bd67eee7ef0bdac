#include "catalogue/uDateiNeuWizzard.h"

#include "document/uFotobuchDocument.h"

void ResetToEmptyDocument(TFBDocument& document) {
    document.Reset();
    document.Dokumentname.clear();
}
