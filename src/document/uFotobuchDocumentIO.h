#pragma once

#include "platform/uAtomicFile.h"

#include <QString>

#include <functional>
#include <memory>

class TCustomDataFile;
class TFBDocument;
class TFBElement;
class TFBPage;

// The document in a container: the settings in "Doc", the pages below "Doc/Pages", the panorama
// links below "Doc/PictureLinkList", the picture store in "BildManager" and the special days in
// "Feiertage" and "Geburtstage". Every list is its "Anzahl" followed by one section per member.
// The element classes' own Save/Load (and the transfer form) live in this unit as well.

// The version every file written by this program carries.
constexpr int kCurrentDocVersion = 5;

// Writes the whole document; reports progress through the progress output and clears Modified.
void SaveDocument(TFBDocument& document, TCustomDataFile& file);
// The same items without progress texts, leaving Modified as it is: a copy taken while the user
// works on.
void WriteDocumentItems(const TFBDocument& document, TCustomDataFile& file);
// Resets the document and reads it, then brings files of older versions up to date. Errors of the
// container or of a stored picture end the load with the document as far as it was read.
void LoadDocument(TFBDocument& document, TCustomDataFile& file);

// A project file on disk. Loading opens the file for reading only and refuses anything that is not
// a container ("Invalid file format.") and a container cut short. Saving writes a complete new container next
// to the target and puts it in the target's place only when everything was written and flushed to the disk:
// on any failure the previous file stays as it was, Modified keeps its value and the error is raised. A
// target without write permission raises "Die Datei ist schreibgeschützt" and is not touched. Both close the
// progress window when they fail.
void LoadDocumentFromFile(TFBDocument& document, const QString& path);
void SaveDocumentToFile(TFBDocument& document, const QString& path, const TWriteFaults& faults = {});
// The same for any reader or writer of a whole container file.
void ReadContainerFile(const QString& path, const std::function<void(TCustomDataFile&)>& read);
void WriteContainerFile(const QString& path, const std::function<void(TCustomDataFile&)>& write,
                        const TWriteFaults& faults = {});
// The same atomic replacement for bytes that are ready to go (a snapshot taken earlier); it shows
// no progress and may run on any thread.
void WriteWholeFile(const QString& path, const std::function<void(QIODevice&)>& write,
                    const TWriteFaults& faults = {});

// The pieces, also used on their own by undo records.
void SavePage(const TFBPage& page, TCustomDataFile& file, const QString& section);
// Empties the page and reads its keys and its three element lists.
void LoadPage(TFBPage& page, TCustomDataFile& file, const QString& section);
// The element stored in the section, created on the page but not put into any of its lists;
// nullptr when "Classname" is missing or names no known class.
std::unique_ptr<TFBElement> ReadElement(TCustomDataFile& file, const QString& section, TFBPage* page);

// The "Anzahl" of a list (def when missing); a count larger than the container could hold
// members for raises "Invalid file format.".
int ReadCount(TCustomDataFile& file, const QString& section, int def);

// Section names of the document file.
namespace DocSection {
QString Doc();
QString Pages();
QString Page(int index);
QString PictureList(const QString& page);
QString Picture(const QString& page, int index);
QString CalendarList(const QString& page);
QString Calendar(const QString& page, int index);
QString ElementList(const QString& page);
QString Element(const QString& page, int index);
// A calendar element's settings.
QString KalenderData(const QString& element);
QString PictureLinks();
QString Link(int index);
QString LinkMembers(const QString& link);
QString LinkMember(const QString& link, int index);
QString BildManager();
QString Feiertage();
QString Geburtstage();
} // namespace DocSection

// The key of every list's member count.
inline const char* const kAnzahlKey = "Anzahl";
