#pragma once

#include "editing/ui/uEditorPanel.h"

#include <QWidget>

// The picture browser of the "Bilder" tab and, with its own settings value, the clipart browser
// of the "Clipart" tab: a folder tree and the thumbnails of the selected folder's files. For now
// it keeps the selected folder: it starts in the folder stored under its settings value and stores
// the selected one back. The tree and the thumbnails come with the picture browser itself.
class TPictureBrowser : public QWidget, public TEditorPanel {
    Q_OBJECT
public:
    // settingsName: the settings value of the start folder ("BaseDir", "ClipartBaseDir").
    TPictureBrowser(const QString& objectName, const QString& settingsName, QWidget* parent = nullptr);

    QString Folder() const { return folder_; }
    void SetFolder(const QString& folder) { folder_ = folder; }
    // Stores the selected folder under the settings value; nothing when no folder is selected.
    // Raises Exception when the settings cannot be written.
    void SaveFolder() const;

    const QObject* EventSource() const override { return this; }

private:
    QString settingsName_;
    QString folder_;
};
