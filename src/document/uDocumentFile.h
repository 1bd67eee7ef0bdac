#pragma once

class TCustomDataFile;
class TFBDocument;

// The document in a project file. Both report their progress through InfoAusgabe().
// Writes the whole document into the container.
void SaveDocument(TFBDocument& document, TCustomDataFile& file);
// Resets the document and reads it from the container.
void LoadDocument(TFBDocument& document, TCustomDataFile& file);
