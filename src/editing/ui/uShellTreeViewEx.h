#pragma once

// The folder tree of a picture browser: the file system's folders (no files, no hidden folders)
// from the root, with the selection kept visible. A chosen folder is announced after a delay of
// 500 ms, so that running through the tree with the keys does not list every folder passed.
// The model reads folders on a thread of its own; the start folder is selected and scrolled to
// once the model has reached it.

#include <QString>
#include <QTimer>
#include <QTreeView>

class QFileSystemModel;

class TShellTreeViewEx : public QTreeView {
    Q_OBJECT
public:
    static constexpr int kChangeDelayMs = 500;
    // The special folders SelectSpecialFolder knows.
    enum TSpecialFolder { Documents = 0 };

    explicit TShellTreeViewEx(QWidget* parent = nullptr);

    // Selects `path` when it is a readable folder; false otherwise.
    bool SelectFolder(const QString& path);
    // Selects a special folder of the platform: the user's documents folder, else the home folder.
    void SelectSpecialFolder(int index);
    // Selects `path` when readable, else the documents folder.
    void StartAt(const QString& path);
    // The selected folder's path, empty when none.
    QString SelectedFolder() const;

    static QString DocumentsFolder();

signals:
    // The selected folder, told kChangeDelayMs after the selection settled.
    void FolderChanged(const QString& path);

private:
    void selectionMoved();
    void revealPending();

    QFileSystemModel* model_;
    QTimer delay_;
    QString pending_; // the folder to select once the model has loaded its way there
};
