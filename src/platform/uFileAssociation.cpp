#include "platform/uFileAssociation.h"

#include "platform/uDesktopIcons.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace FileAssociation {

namespace {

bool hasControlCharacters(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return true;
    return false;
}

// A value of a desktop entry key: backslashes are the key file's escape character.
QString escapeKeyValue(const QString& text) {
    QString result = text;
    result.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    return result;
}

} // namespace

QString MimeTypeName(const QString& extension) {
    return QStringLiteral("application/x-tintaro-") + extension.toLower();
}

QString DesktopFileId() {
    return QStringLiteral("tintaro.desktop");
}

QString MimePackageFileName(const QString& ext) {
    return QStringLiteral("tintaro-") + ext.toLower() + QStringLiteral(".xml");
}

QString ThumbnailerFileName() {
    return QStringLiteral("tintaro.thumbnailer");
}

QString ComponentId() {
    return QStringLiteral("io.tintaro.PrintKit");
}

QString MetainfoFileName() {
    return ComponentId() + QStringLiteral(".metainfo.xml");
}

namespace {

QByteArray resourceBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Adds a write's outcome to the result; true when the file was written.
bool note(TWriteResult written, TRegisterResult& result) {
    result.failed |= written == TWriteResult::Failed;
    return written == TWriteResult::Written;
}

// The icons in the user's hicolor theme. The SVG is the stamp of the PNGs: while it is unchanged
// and the PNGs are there, nothing is rendered again.
void installIcons(const QDir& data, TRegisterResult& result) {
    for (const DesktopIcons::TIcon& icon : DesktopIcons::Icons()) {
        const QByteArray svg = resourceBytes(icon.Resource);
        if (svg.isEmpty())
            continue;
        const QString svgPath = data.filePath(QStringLiteral("icons/") + DesktopIcons::ThemePath(icon, 0));
        bool current = resourceBytes(svgPath) == svg;
        for (const int size : DesktopIcons::PngSizes())
            current &=
                QFile::exists(data.filePath(QStringLiteral("icons/") + DesktopIcons::ThemePath(icon, size)));
        if (current)
            continue;
        for (const int size : DesktopIcons::PngSizes()) {
            const QByteArray png = DesktopIcons::RenderPng(svg, size);
            if (png.isEmpty()) {
                result.failed = true;
                continue;
            }
            result.iconsWritten |=
                note(WriteIfDifferent(
                         data.filePath(QStringLiteral("icons/") + DesktopIcons::ThemePath(icon, size)), png),
                     result);
        }
        // Last, so an interrupted run renders the PNGs again next time.
        result.iconsWritten |= note(WriteIfDifferent(svgPath, svg), result);
    }
}

} // namespace

QByteArray MetainfoText() {
    return resourceBytes(QStringLiteral(":/desktop/") + MetainfoFileName());
}

namespace {

// The program as the first word of an Exec value; empty when it cannot be written there.
QString quotedProgram(const QString& programPath) {
    if (programPath.isEmpty() || hasControlCharacters(programPath))
        return {};
    // Inside a quoted argument of Exec, these four characters need a backslash; a percent sign
    // would start a field code and is doubled.
    QString quoted;
    for (const QChar c : programPath) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
        quoted += c;
    }
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

QString DesktopExecLine(const QString& programPath) {
    const QString program = quotedProgram(programPath);
    return program.isEmpty() ? QString() : program + QLatin1String(" %f");
}

QByteArray ThumbnailerEntryText(const TAssociation& association) {
    const QString program = quotedProgram(association.thumbnailerProgram);
    if (program.isEmpty())
        return {};
    // %i the file's path, %o the PNG to write, %s the size asked for.
    QString text;
    text += QStringLiteral("[Thumbnailer Entry]\n");
    text += QStringLiteral("TryExec=") + escapeKeyValue(association.thumbnailerProgram) + QLatin1Char('\n');
    text += QStringLiteral("Exec=") + escapeKeyValue(program + QStringLiteral(" thumbnail %i %o --size %s")) +
            QLatin1Char('\n');
    text += QStringLiteral("MimeType=") + MimeTypeName(association.extension) + QStringLiteral(";\n");
    return text.toUtf8();
}

QByteArray DesktopEntryText(const TAssociation& association) {
    const QString exec = DesktopExecLine(association.programPath);
    if (exec.isEmpty() || hasControlCharacters(association.applicationTitle))
        return {};
    QString text;
    text += QStringLiteral("[Desktop Entry]\n");
    text += QStringLiteral("Type=Application\n");
    text += QStringLiteral("Version=1.0\n");
    text += QStringLiteral("Name=") + escapeKeyValue(association.applicationTitle) + QLatin1Char('\n');
    text += QStringLiteral("Exec=") + escapeKeyValue(exec) + QLatin1Char('\n');
    text += QStringLiteral("Icon=tintaro\n");
    text += QStringLiteral("Terminal=false\n");
    text += QStringLiteral("MimeType=") + MimeTypeName(association.extension) + QStringLiteral(";\n");
    text += QStringLiteral("Categories=Graphics;Photography;\n");
    return text.toUtf8();
}

QByteArray MimePackageText(const TAssociation& association) {
    const QString type = MimeTypeName(association.extension);
    QString text;
    text += QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    text += QStringLiteral("<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n");
    text += QStringLiteral("  <mime-type type=\"%1\">\n").arg(type);
    text += QStringLiteral("    <comment>%1</comment>\n")
                .arg((association.applicationTitle + QStringLiteral(" Datei")).toHtmlEscaped());
    // Project files are containers; their header tells them apart from other files named alike.
    text += QStringLiteral("    <icon name=\"application-x-tintaro-fbp\"/>\n");
    text += QStringLiteral("    <magic priority=\"50\">\n");
    text += QStringLiteral("      <match type=\"string\" offset=\"0\" value=\"VX DataFile\"/>\n");
    text += QStringLiteral("    </magic>\n");
    text +=
        QStringLiteral("    <glob pattern=\"*.%1\"/>\n").arg(association.extension.toLower().toHtmlEscaped());
    text += QStringLiteral("  </mime-type>\n");
    text += QStringLiteral("</mime-info>\n");
    return text.toUtf8();
}

QByteArray MergeMimeAppsDefault(const QByteArray& existing, const QString& mimeType,
                                const QString& desktopId) {
    const QByteArray header("[Default Applications]");
    const QByteArray entry = mimeType.toUtf8() + '=' + desktopId.toUtf8();
    QList<QByteArray> lines = existing.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the split of a final newline

    int sectionStart = -1;
    int sectionEnd = lines.size(); // one past the section's last line
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray trimmed = lines[i].trimmed();
        if (trimmed.startsWith('[')) {
            if (sectionStart >= 0) {
                sectionEnd = i;
                break;
            }
            if (trimmed == header)
                sectionStart = i;
        } else if (sectionStart >= 0) {
            const int eq = trimmed.indexOf('=');
            if (eq > 0 && trimmed.left(eq).trimmed() == mimeType.toUtf8())
                return existing; // the user's (or our earlier) choice stays
        }
    }

    if (sectionStart < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines.append(QByteArray());
        lines.append(header);
        lines.append(entry);
    } else {
        // After the section's last non-empty line, so a blank line before the next section stays.
        int insertAt = sectionEnd;
        while (insertAt > sectionStart + 1 && lines[insertAt - 1].trimmed().isEmpty())
            --insertAt;
        lines.insert(insertAt, entry);
    }
    return lines.join('\n') + '\n';
}

TWriteResult WriteIfDifferent(const QString& path, const QByteArray& content) {
    QFile current(path);
    if (current.open(QIODevice::ReadOnly)) {
        // A file much larger than ours cannot be equal; do not read it whole.
        if (current.size() == content.size() && current.readAll() == content)
            return TWriteResult::Unchanged;
        current.close();
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return TWriteResult::Failed;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return TWriteResult::Failed;
    if (file.write(content) != content.size())
        return TWriteResult::Failed;
    return file.commit() ? TWriteResult::Written : TWriteResult::Failed;
}

TRegisterResult RegisterFileType(const TAssociation& association, const ToolRunner& runTool) {
    TRegisterResult result;
    if (association.extension.isEmpty() || association.dataHome.isEmpty())
        return result;
    const QDir data(association.dataHome);

    const QByteArray desktop = DesktopEntryText(association);
    bool desktopInstalled = false;
    if (desktop.isEmpty()) {
        result.failed = true;
    } else {
        const auto written =
            WriteIfDifferent(data.filePath(QStringLiteral("applications/") + DesktopFileId()), desktop);
        result.desktopEntryWritten = written == TWriteResult::Written;
        result.failed |= written == TWriteResult::Failed;
        desktopInstalled = written != TWriteResult::Failed;
    }

    const auto mime = WriteIfDifferent(
        data.filePath(QStringLiteral("mime/packages/") + MimePackageFileName(association.extension)),
        MimePackageText(association));
    result.mimePackageWritten = mime == TWriteResult::Written;
    result.failed |= mime == TWriteResult::Failed;

    if (!association.thumbnailerProgram.isEmpty()) {
        const QByteArray entry = ThumbnailerEntryText(association);
        const auto written =
            entry.isEmpty()
                ? TWriteResult::Failed
                : WriteIfDifferent(data.filePath(QStringLiteral("thumbnailers/") + ThumbnailerFileName()),
                                   entry);
        result.thumbnailerWritten = written == TWriteResult::Written;
        result.failed |= written == TWriteResult::Failed;
    }

    installIcons(data, result);
    const QByteArray metainfo = MetainfoText();
    if (!metainfo.isEmpty())
        result.metainfoWritten =
            note(WriteIfDifferent(data.filePath(QStringLiteral("metainfo/") + MetainfoFileName()), metainfo),
                 result);

    // A default naming an entry that is not there would only confuse the desktop.
    if (desktopInstalled && !association.configHome.isEmpty()) {
        const QString listPath = QDir(association.configHome).filePath(QStringLiteral("mimeapps.list"));
        QByteArray existing;
        QFile list(listPath);
        if (list.open(QIODevice::ReadOnly))
            existing = list.readAll();
        else if (list.exists())
            result.failed = true; // unreadable: leave it alone rather than replace it
        if (list.isOpen() || !list.exists()) {
            const QByteArray merged =
                MergeMimeAppsDefault(existing, MimeTypeName(association.extension), DesktopFileId());
            if (merged != existing) {
                const auto written = WriteIfDifferent(listPath, merged);
                result.defaultApplicationWritten = written == TWriteResult::Written;
                result.failed |= written == TWriteResult::Failed;
            }
        }
    }

    if (runTool) {
        if (result.mimePackageWritten)
            runTool(QStringLiteral("update-mime-database"), {data.filePath(QStringLiteral("mime"))});
        if (result.desktopEntryWritten)
            runTool(QStringLiteral("update-desktop-database"),
                    {data.filePath(QStringLiteral("applications"))});
    }
    return result;
}

void RunToolIfInstalled(const QString& program, const QStringList& arguments) {
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        return;
    // Detached, so start-up does not wait; its output would only confuse whoever reads ours.
    QProcess process;
    process.setProgram(path);
    process.setArguments(arguments);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.startDetached();
}

TAssociation ForThisProgram(const QString& extension, const QString& applicationTitle) {
    TAssociation association;
    association.extension = extension;
    association.applicationTitle = applicationTitle;
    association.programPath = QFileInfo(QCoreApplication::applicationFilePath()).absoluteFilePath();
    association.dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    association.configHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QFileInfo tool(QFileInfo(association.programPath).dir().filePath(QStringLiteral("tintaro-cli")));
    if (tool.isFile() && tool.isExecutable())
        association.thumbnailerProgram = tool.absoluteFilePath();
    return association;
}

} // namespace FileAssociation
