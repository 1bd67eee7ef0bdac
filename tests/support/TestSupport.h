#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace TestSupport {

// Result of one run of the command-line tool.
struct CliResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs build/bin/tintaro-cli with the given arguments and waits for it (at most 120 s).
CliResult runCli(const QStringList& args, const QByteArray& input = {});

// Path of a file below tests/data.
QString dataPath(const QString& name);

// The whole file, or nothing when it cannot be read.
QByteArray readFile(const QString& path);

// Writes the bytes as the whole file; a file that cannot be opened fails the test.
void writeFile(const QString& path, const QByteArray& bytes);

} // namespace TestSupport
