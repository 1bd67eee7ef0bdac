#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// Makes the desktop open project files with this program: a per-user application entry
// (.desktop file), a shared-mime-info type for "*.<extension>", the type's default application in
// mimeapps.list when the user has chosen none, a thumbnailer entry through which file managers
// draw the projects' covers, the application's and the file type's icons in the hicolor theme
// and the AppStream metainfo that software centres read. Files are written only when their
// contents differ from what is there, so an unchanged installation touches nothing.
namespace FileAssociation {

// What to install and where. dataHome is $XDG_DATA_HOME (usually ~/.local/share), configHome
// $XDG_CONFIG_HOME (usually ~/.config).
struct TAssociation {
    QString extension;        // without the dot, e.g. "fbp"
    QString programPath;      // full path of the program that opens the files
    QString applicationTitle; // e.g. "Tintaro Print Kit"
    QString dataHome;
    QString configHome;
    // Full path of the command-line tool that draws thumbnails; empty: no thumbnailer entry.
    QString thumbnailerProgram;
};

// Runs a helper program (update-mime-database, update-desktop-database) without waiting.
using ToolRunner = std::function<void(const QString& program, const QStringList& arguments)>;

// The names the association uses.
QString MimeTypeName(const QString& extension);  // "application/x-tintaro-fbp"
QString DesktopFileId();                         // "tintaro.desktop"
QString MimePackageFileName(const QString& ext); // "tintaro-fbp.xml"
QString ThumbnailerFileName();                   // "tintaro.thumbnailer"
QString ComponentId();                           // "io.tintaro.PrintKit", the AppStream id
QString MetainfoFileName();                      // "io.tintaro.PrintKit.metainfo.xml"
// The metainfo an installation ships, from the program's resources.
QByteArray MetainfoText();

// The Exec value for the program: its path quoted for the desktop entry, then "%f". Empty when
// the path cannot be written into a desktop entry (control characters).
QString DesktopExecLine(const QString& programPath);
// Complete contents of the .desktop file; empty when the program path is unusable.
QByteArray DesktopEntryText(const TAssociation& association);
// Complete contents of the thumbnailer entry for the command-line tool at `program`; empty when
// the path cannot be written into it.
QByteArray ThumbnailerEntryText(const TAssociation& association);
// Complete contents of the shared-mime-info package.
QByteArray MimePackageText(const TAssociation& association);
// mimeapps.list with the default application for the type added under [Default Applications].
// An existing default for the type, whatever it names, is the user's choice and stays.
QByteArray MergeMimeAppsDefault(const QByteArray& existing, const QString& mimeType,
                                const QString& desktopId);

enum class TWriteResult { Unchanged, Written, Failed };
// Writes content to path (creating folders) unless the file already holds exactly that.
TWriteResult WriteIfDifferent(const QString& path, const QByteArray& content);

// What RegisterFileType did.
struct TRegisterResult {
    bool desktopEntryWritten = false;
    bool mimePackageWritten = false;
    bool defaultApplicationWritten = false;
    bool thumbnailerWritten = false;
    bool iconsWritten = false;
    bool metainfoWritten = false;
    bool failed = false; // some file could not be written; the caller ignores it
    bool changed() const {
        return desktopEntryWritten || mimePackageWritten || defaultApplicationWritten || thumbnailerWritten ||
               iconsWritten || metainfoWritten;
    }
};

// Installs the association and, for what changed, refreshes the user's MIME and desktop
// databases through the runner. Never throws.
TRegisterResult RegisterFileType(const TAssociation& association, const ToolRunner& runTool);

// The runner used by the program: starts the tool detached when it is installed, else nothing.
void RunToolIfInstalled(const QString& program, const QStringList& arguments);

// The association of this program for "*.extension" with the XDG folders of the environment; the
// thumbnailer is the command-line tool beside the program, when it is there.
TAssociation ForThisProgram(const QString& extension, const QString& applicationTitle);

} // namespace FileAssociation
