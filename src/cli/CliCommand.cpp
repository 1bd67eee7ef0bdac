#include "cli/CliCommand.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>

#include <algorithm>

CliRegistry& CliRegistry::instance() {
    static CliRegistry registry;
    return registry;
}

void CliRegistry::add(CliCommand command) {
    commands_.append(std::move(command));
}

const CliCommand* CliRegistry::find(const QString& name) const {
    for (const CliCommand& command : commands_)
        if (command.name == name)
            return &command;
    return nullptr;
}

QList<CliCommand> CliRegistry::commands() const {
    QList<CliCommand> sorted = commands_;
    std::sort(sorted.begin(), sorted.end(),
              [](const CliCommand& a, const CliCommand& b) { return a.name < b.name; });
    return sorted;
}

namespace Cli {

int parseInt(const QString& text, const QString& what) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        throw CliUsageError(QStringLiteral("%1 must be a whole number, not \"%2\"").arg(what, text));
    return value;
}

QString jsonString(const QString& text) {
    // QJsonDocument cannot serialise a bare string, so wrap it in an array and strip the brackets.
    QJsonArray array{QJsonValue(text)};
    const QByteArray json = QJsonDocument(array).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

void requireFile(const QString& path, const QString& what) {
    const QFileInfo info(path);
    if (!info.exists())
        throw CliUsageError(QStringLiteral("%1 not found: %2").arg(what, path));
    if (!info.isFile())
        throw CliUsageError(QStringLiteral("not a file: %1").arg(path));
}

} // namespace Cli
