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
    // The folder last chosen by SelectFolder while the model is still reading its way there, else
    // the selected one.
    QString ChosenFolder() const { return pending_.isEmpty() ? SelectedFolder() : pending_; }

    static QString DocumentsFolder();

signals:
    // The selected folder, told kChangeDelayMs after the selection settled.
    void FolderChanged(const QString& path);

protected:
    // The user takes over: folders read in later no longer scroll the tree.
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void selectionMoved();
    void revealPending();

    QFileSystemModel* model_;
    QTimer delay_;
    QString pending_; // the folder to select once the model has loaded its way there
    // Folders read in above the chosen one push it down; until the user acts, it is scrolled back
    // into the middle once the rows have settled.
    bool followChoice_ = false;
    QTimer follow_;
};
