#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <stdexcept>

// One subcommand of tintaro-cli. Each command lives in its own file and registers itself with a
// static CliRegistration, so adding a command touches no shared file.
struct CliCommand {
    QString name;
    QString usage;   // e.g. "items FILE"
    QString summary; // one line for --help
    std::function<int(const QStringList& args, QTextStream& out)> run;
};

// Bad input: the tool prints the message on one line of stderr and exits with code 2.
class CliUsageError : public std::runtime_error {
public:
    explicit CliUsageError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

class CliRegistry {
public:
    static CliRegistry& instance();
    void add(CliCommand command);
    const CliCommand* find(const QString& name) const;
    QList<CliCommand> commands() const; // sorted by name

private:
    QList<CliCommand> commands_;
};

struct CliRegistration {
    explicit CliRegistration(CliCommand command) { CliRegistry::instance().add(std::move(command)); }
};

// Small helpers shared by the commands.
namespace Cli {
// Parses a whole decimal number or raises CliUsageError naming the option.
int parseInt(const QString& text, const QString& what);
// Writes text as UTF-8 JSON string literal (with quotes).
QString jsonString(const QString& text);
// Raises CliUsageError unless path names an existing file ("<what> not found: …", "not a file: …").
void requireFile(const QString& path, const QString& what = QStringLiteral("file"));
} // namespace Cli
