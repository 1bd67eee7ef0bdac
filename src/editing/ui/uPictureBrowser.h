#pragma once

#include "editing/ui/uEditorPanel.h"
#include "editing/ui/uThumbnailListview.h"

#include <QWidget>

class QSplitter;
class TShellTreeViewEx;

// The picture browser of the "Bilder" tab and, with its own settings value, the clipart browser
// of the "Clipart" tab: a folder tree (200 pixels high at first), a 5-pixel splitter and the
// thumbnails of the selected folder's files. The tree starts in the folder stored under the
// settings value, else in the fallback folder, else in the user's documents; a folder the user
// settles on fills the list.
class TPictureBrowser : public QWidget, public TEditorPanel {
    Q_OBJECT
public:
    static constexpr int kTreeHeight = 200;

    // settingsName: the settings value of the start folder ("BaseDir", "ClipartBaseDir").
    // The tree, the splitter and the list are named objectName + "Tree", "Splitter", "List".
    TPictureBrowser(const QString& objectName, const QString& settingsName,
                    TThumbnailListview::TDragKind kind, const QString& fallbackFolder = QString(),
                    QWidget* parent = nullptr);

    // The folder chosen in the tree (also while the tree is still reading its way there).
    QString Folder() const;
    // Chooses the folder in the tree; a folder that cannot be read leaves the choice as it was.
    void SetFolder(const QString& folder);
    // Stores the chosen folder under the settings value; nothing when no folder is chosen.
    // Raises Exception when the settings cannot be written.
    void SaveFolder() const;

    TShellTreeViewEx* Tree() const { return tree_; }
    TThumbnailListview* List() const { return list_; }
    QSplitter* Splitter() const { return splitter_; }

    const QObject* EventSource() const override { return this; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QString settingsName_;
    TShellTreeViewEx* tree_;
    TThumbnailListview* list_;
    QSplitter* splitter_;
    bool userMovedSplitter_ = false;
};
