#pragma once

#include "platform/uIniFile.h"

#include <QHash>
#include <QList>

class QIODevice;

// An ini store held in memory: the language tables and the registered source texts of the
// localizer. Sections keep the order in which they were created and their lines as they were read
// ("name=value"); section names and line names compare case-insensitively. Text is read as
// UTF-16 with a byte-order mark or as 8-bit Windows-1252, and saved as 8-bit text with CR LF.
class TMyMemIniFile : public TCustomIniFile {
public:
    TMyMemIniFile() = default;

    QString ReadString(const QString& section, const QString& name, const QString& def) const override;
    void WriteString(const QString& section, const QString& name, const QString& value) override;
    void ReadSection(const QString& section, QStringList& list) const override;
    void ReadSections(QStringList& list) const override;
    void ReadSectionValues(const QString& section, QStringList& list) const override;
    void EraseSection(const QString& section) override;
    void DeleteKey(const QString& section, const QString& name) override;
    void UpdateFile() override {} // the store is written only by SaveToFile

    // Replaces the store with the text from the stream's position to its end.
    void LoadFromStream(QIODevice& stream);
    // LoadFromStream of the file if it exists; otherwise an empty store.
    void LoadFromFile(const QString& path);
    // Adds the lines of an 8-bit text to existing or new sections.
    void MergeFromAnsiStream(QIODevice& stream);
    void SaveToStream(QIODevice& stream) const;
    void SaveToFile(const QString& path) const;
    void Clear();

private:
    struct Section {
        QString name;
        QStringList lines;
        // Folded line name -> first line with it; rebuilt on demand after a change.
        mutable QHash<QString, qsizetype> index;
        mutable bool indexValid = false;

        qsizetype indexOfName(const QString& name) const;
    };

    const Section* findSection(const QString& name) const;
    Section* findSection(const QString& name);
    Section& sectionFor(const QString& name); // creates it at the end when missing
    void parseLines(const QString& text);

    QList<Section> sections_;
};
