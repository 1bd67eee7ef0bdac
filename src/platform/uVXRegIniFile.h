#pragma once

#include <QByteArray>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>

class QSettings;

// The per-user settings store. Every value is addressed by a section path and a value name below
// the root key "Software\Tessaro\Albumorix": an empty section is the root key itself, any other
// section S is root + "\" + S, and S may hold further "\" separators. The values live in an INI
// file in the user's XDG config folder; each operation opens the file anew, so nothing is cached
// and a value written is read back at once, also by another process.
//
// Kinds: strings; integers; floats stored as text with a decimal comma whatever the locale
// ("-1,2"); binary blocks. Missing values read as the caller's default. A value that cannot be
// written (full disk, read-only folder) raises Exception.
class TVXRegIniFile {
public:
    static constexpr const char* RootKey = "Software\\Tessaro\\Albumorix";

    // The user's settings file: "Tessaro/Albumorix.ini" in the XDG config folder, looked up at
    // every access so that it follows XDG_CONFIG_HOME.
    TVXRegIniFile() = default;
    // A settings file of the caller's choosing.
    explicit TVXRegIniFile(QString fileName);

    QString FileName() const;

    QString ReadString(const QString& section, const QString& name, const QString& defaultValue) const;
    void WriteString(const QString& section, const QString& name, const QString& text);

    // Default when the value is missing or is not a whole number in the int32 range.
    std::int32_t ReadInteger(const QString& section, const QString& name, std::int32_t defaultValue) const;
    void WriteInteger(const QString& section, const QString& name, std::int32_t value);

    // Default when the value is missing or is not a number written with a decimal comma.
    double ReadFloat(const QString& section, const QString& name, double defaultValue) const;
    void WriteFloat(const QString& section, const QString& name, double value);

    // Stored size of the value in bytes (the UTF-8 text of a non-binary value), -1 when missing.
    std::int32_t GetDataSize(const QString& section, const QString& name) const;
    // Copies at most size bytes of the value into buffer; returns the number copied (0 when the
    // value is missing).
    std::int32_t ReadBinary(const QString& section, const QString& name, std::int32_t size,
                            void* buffer) const;
    void WriteBinary(const QString& section, const QString& name, std::int32_t size, const void* buffer);
    // The whole binary value; empty when missing.
    QByteArray ReadBinary(const QString& section, const QString& name) const;
    void WriteBinary(const QString& section, const QString& name, const QByteArray& bytes);

    // Removes a value (nothing happens when it is missing).
    void DeleteValue(const QString& section, const QString& name);

    // The float text forms: shortest round-tripping text with a decimal comma, and its parser
    // (false when the text is not such a number).
    static QString FloatToText(double value);
    static bool TextToFloat(const QString& text, double& value);

private:
    // Path of a value inside the settings file.
    static QString keyOf(const QString& section, const QString& name);
    void writeValue(const QString& section, const QString& name, const QVariant& value);

    QString fileName_; // empty: the user's file
};

// The one settings store of the program, created on first use.
TVXRegIniFile& VXRegIniFile();

// Window placement, kept in a small record so that the rules do not depend on widgets: the
// main window uses the section "Master".
struct TFormPlacement {
    enum State : std::int32_t { Normal = 0, Minimized = 1, Maximized = 2 };
    std::int32_t WindowState = Normal;
    QRect Bounds; // normal bounds in screen pixels
};

// Writes "WindowState" and, unless the form is maximised, "Left", "Top", "Width", "Height".
void SaveFormPlacement(const TFormPlacement& form, const QString& section);
// The placement to apply: the stored state (current as default); for a normal state also the
// stored bounds (current as default), shrunk to the screen and moved onto it.
TFormPlacement RestoreFormPlacement(const TFormPlacement& current, const QSize& screen,
                                    const QString& section);

// The program's folder, ending in a separator.
QString ProgramFolder();

// The per-user folder for the program's own data files: "Tessaro/Albumorix" in the XDG data
// folder, created when missing; the program's folder when it cannot be created. Always ends in
// a separator.
QString UserDataFolder();
// The same below a given application-data folder, with a given fallback.
QString UserDataFolderIn(const QString& appDataFolder, const QString& programFolder);

// Full path of a data file in UserDataFolder; a copy left in the program's folder by an older
// installation is moved there first (failures of the move are ignored).
QString UserDataFile(const QString& name);
QString UserDataFileIn(const QString& dataFolder, const QString& programFolder, const QString& name);

// Records at start-up where and in which version the program is installed: "InstallDir" and
// "Version" in the root section. A failure to write is only traced.
void RecordInstallation();
// The program's version in the stored form "%d.%.2d.%.4d.%.4d".
QString ProgramVersionText();
