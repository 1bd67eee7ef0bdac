#include "platform/uVXRegIniFile.h"

#include "Version.h"
#include "platform/Exception.h"
#include "platform/SoftAssert.h"
#include "platform/uDebug.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

QString withSeparator(QString folder) {
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

// The text of a stored value. A hand-edited INI line with unquoted commas ("-1,2") comes back from
// the INI reader as a list; joining it again gives the text as it was written.
QString textOf(const QVariant& value) {
    if (value.metaType().id() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    if (value.metaType().id() == QMetaType::QByteArray)
        return QString::fromUtf8(value.toByteArray());
    return value.toString();
}

} // namespace

TVXRegIniFile::TVXRegIniFile(QString fileName) : fileName_(std::move(fileName)) {}

QString TVXRegIniFile::FileName() const {
    if (!fileName_.isEmpty())
        return fileName_;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Tessaro/Albumorix.ini");
}

QString TVXRegIniFile::keyOf(const QString& section, const QString& name) {
    QString path = QString::fromLatin1(RootKey);
    if (!section.isEmpty())
        path += QLatin1Char('\\') + section;
    path += QLatin1Char('\\') + name;
    // The INI file nests groups with "/"; a "\" of a section path is the same separator.
    return path.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

void TVXRegIniFile::writeValue(const QString& section, const QString& name, const QVariant& value) {
    TT_ASSERT(!name.isEmpty(), return );
    QSettings settings(FileName(), QSettings::IniFormat);
    settings.setValue(keyOf(section, name), value);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw Exception(QStringLiteral("Die Einstellung \"%1\" konnte nicht in \"%2\" gespeichert werden.")
                            .arg(name, FileName()));
}

QString TVXRegIniFile::ReadString(const QString& section, const QString& name,
                                  const QString& defaultValue) const {
    const QSettings settings(FileName(), QSettings::IniFormat);
    const QVariant value = settings.value(keyOf(section, name));
    return value.isValid() ? textOf(value) : defaultValue;
}

void TVXRegIniFile::WriteString(const QString& section, const QString& name, const QString& text) {
    writeValue(section, name, text);
}

std::int32_t TVXRegIniFile::ReadInteger(const QString& section, const QString& name,
                                        std::int32_t defaultValue) const {
    const QSettings settings(FileName(), QSettings::IniFormat);
    const QVariant value = settings.value(keyOf(section, name));
    if (!value.isValid())
        return defaultValue;
    bool ok = false;
    const int number = textOf(value).trimmed().toInt(&ok, 10);
    return ok ? number : defaultValue;
}

void TVXRegIniFile::WriteInteger(const QString& section, const QString& name, std::int32_t value) {
    writeValue(section, name, int(value));
}

QString TVXRegIniFile::FloatToText(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest)
        .replace(QLatin1Char('.'), QLatin1Char(','));
}

bool TVXRegIniFile::TextToFloat(const QString& text, double& value) {
    QString t = text.trimmed();
    // The decimal separator is the comma; a point is no separator here, so "1.5" is no number.
    if (t.isEmpty() || t.contains(QLatin1Char('.')))
        return false;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double number = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(number))
        return false;
    value = number;
    return true;
}

double TVXRegIniFile::ReadFloat(const QString& section, const QString& name, double defaultValue) const {
    double value = defaultValue;
    if (!TextToFloat(ReadString(section, name, FloatToText(defaultValue)), value))
        return defaultValue;
    return value;
}

void TVXRegIniFile::WriteFloat(const QString& section, const QString& name, double value) {
    WriteString(section, name, FloatToText(value));
}

std::int32_t TVXRegIniFile::GetDataSize(const QString& section, const QString& name) const {
    const QSettings settings(FileName(), QSettings::IniFormat);
    const QVariant value = settings.value(keyOf(section, name));
    if (!value.isValid())
        return -1;
    if (value.metaType().id() == QMetaType::QByteArray)
        return std::int32_t(value.toByteArray().size());
    return std::int32_t(textOf(value).toUtf8().size());
}

QByteArray TVXRegIniFile::ReadBinary(const QString& section, const QString& name) const {
    const QSettings settings(FileName(), QSettings::IniFormat);
    const QVariant value = settings.value(keyOf(section, name));
    if (!value.isValid())
        return {};
    if (value.metaType().id() == QMetaType::QByteArray)
        return value.toByteArray();
    return textOf(value).toUtf8();
}

std::int32_t TVXRegIniFile::ReadBinary(const QString& section, const QString& name, std::int32_t size,
                                       void* buffer) const {
    TT_ASSERT(size >= 0 && (buffer || size == 0), return 0);
    const QByteArray bytes = ReadBinary(section, name);
    const std::int32_t count = std::min<std::int32_t>(size, std::int32_t(bytes.size()));
    if (count > 0)
        std::memcpy(buffer, bytes.constData(), size_t(count));
    return count;
}

void TVXRegIniFile::WriteBinary(const QString& section, const QString& name, const QByteArray& bytes) {
    writeValue(section, name, bytes);
}

void TVXRegIniFile::WriteBinary(const QString& section, const QString& name, std::int32_t size,
                                const void* buffer) {
    TT_ASSERT(size >= 0 && (buffer || size == 0), return );
    WriteBinary(section, name, QByteArray(static_cast<const char*>(buffer), size));
}

void TVXRegIniFile::DeleteValue(const QString& section, const QString& name) {
    QSettings settings(FileName(), QSettings::IniFormat);
    const QString key = keyOf(section, name);
    if (!settings.contains(key))
        return;
    settings.remove(key);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw Exception(QStringLiteral("Die Einstellung \"%1\" konnte nicht in \"%2\" gelöscht werden.")
                            .arg(name, FileName()));
}

TVXRegIniFile& VXRegIniFile() {
    // Created on first use and freed at exit; it holds no open file, so the order of destruction
    // does not matter.
    static TVXRegIniFile store;
    return store;
}

// ---- window placement ----

void SaveFormPlacement(const TFormPlacement& form, const QString& section) {
    TVXRegIniFile& store = VXRegIniFile();
    store.WriteInteger(section, QStringLiteral("WindowState"), form.WindowState);
    if (form.WindowState == TFormPlacement::Maximized)
        return; // the normal bounds stay as they were stored before
    store.WriteInteger(section, QStringLiteral("Left"), form.Bounds.left());
    store.WriteInteger(section, QStringLiteral("Top"), form.Bounds.top());
    store.WriteInteger(section, QStringLiteral("Width"), form.Bounds.width());
    store.WriteInteger(section, QStringLiteral("Height"), form.Bounds.height());
}

TFormPlacement RestoreFormPlacement(const TFormPlacement& current, const QSize& screen,
                                    const QString& section) {
    const TVXRegIniFile& store = VXRegIniFile();
    TFormPlacement result = current;
    const std::int32_t state = store.ReadInteger(section, QStringLiteral("WindowState"), current.WindowState);
    if (state >= TFormPlacement::Normal && state <= TFormPlacement::Maximized)
        result.WindowState = state;
    if (result.WindowState != TFormPlacement::Normal)
        return result;

    int left = store.ReadInteger(section, QStringLiteral("Left"), current.Bounds.left());
    int top = store.ReadInteger(section, QStringLiteral("Top"), current.Bounds.top());
    int width = store.ReadInteger(section, QStringLiteral("Width"), current.Bounds.width());
    int height = store.ReadInteger(section, QStringLiteral("Height"), current.Bounds.height());
    // A hand-edited size of nothing would make the window vanish: keep the current size then.
    if (width <= 0)
        width = current.Bounds.width();
    if (height <= 0)
        height = current.Bounds.height();

    if (screen.width() < width)
        width = screen.width();
    if (screen.height() < height)
        height = screen.height();
    if (left + width >= screen.width())
        left = screen.width() - width;
    if (top + height >= screen.height())
        top = screen.height() - height;
    left = std::max(left, 0);
    top = std::max(top, 0);
    result.Bounds = QRect(left, top, width, height);
    return result;
}

// ---- folders ----

QString ProgramFolder() {
    const QString folder =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    return withSeparator(folder);
}

QString UserDataFolderIn(const QString& appDataFolder, const QString& programFolder) {
    const QString fallback = withSeparator(programFolder);
    if (appDataFolder.isEmpty())
        return fallback;
    // The root key without its leading "Software\".
    const QString subFolder = QString::fromLatin1(TVXRegIniFile::RootKey)
                                  .mid(int(std::strlen("Software\\")))
                                  .replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString folder = withSeparator(appDataFolder) + subFolder;
    if (!QFileInfo(folder).isDir())
        QDir().mkpath(folder);
    if (!QFileInfo(folder).isDir())
        return fallback;
    return withSeparator(folder);
}

QString UserDataFolder() {
    return UserDataFolderIn(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation),
                            ProgramFolder());
}

QString UserDataFileIn(const QString& dataFolder, const QString& programFolder, const QString& name) {
    const QString target = withSeparator(dataFolder) + name;
    const QString oldCopy = withSeparator(programFolder) + name;
    if (QFileInfo::exists(target) || !QFileInfo::exists(oldCopy))
        return target;
    const QString dataDir = QFileInfo(dataFolder).canonicalFilePath();
    if (!dataDir.isEmpty() && dataDir == QFileInfo(programFolder).canonicalFilePath())
        return target; // the data folder is the program's folder: nothing to move
    // The old copy is removed only once it is safe in the new place; a failed copy keeps it.
    if (QFile::copy(oldCopy, target))
        QFile::remove(oldCopy);
    return target;
}

QString UserDataFile(const QString& name) {
    return UserDataFileIn(UserDataFolder(), ProgramFolder(), name);
}

// ---- installation record ----

QString ProgramVersionText() {
    // The project version has three parts; the build number is always 0.
    return QString::asprintf("%d.%.2d.%.4d.%.4d", TINTARO_VERSION_MAJOR, TINTARO_VERSION_MINOR,
                             TINTARO_VERSION_PATCH, 0);
}

void RecordInstallation() {
    // The record is informative only: a settings file that cannot be written must not stop the start.
    try {
        TVXRegIniFile& store = VXRegIniFile();
        store.WriteString(QString(), QStringLiteral("InstallDir"), ProgramFolder());
        store.WriteString(QString(), QStringLiteral("Version"), ProgramVersionText());
    } catch (const Exception& e) {
        Debug().Trace(QStringLiteral("RecordInstallation: ") + e.message());
    }
}
