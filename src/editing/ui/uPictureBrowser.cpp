#include "editing/ui/uPictureBrowser.h"

#include "editing/ui/uShellTreeViewEx.h"
#include "platform/uVXRegIniFile.h"
#include "widgets/ui/uGripSplitter.h"

#include <QResizeEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace {
// What the settings give for a missing value: no folder anybody has.
const QString kNoFolder = QStringLiteral("xyxy");
} // namespace

TPictureBrowser::TPictureBrowser(const QString& objectName, const QString& settingsName,
                                 TThumbnailListview::TDragKind kind, const QString& fallbackFolder,
                                 QWidget* parent)
    : QWidget(parent), settingsName_(settingsName) {
    setObjectName(objectName);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    splitter_ = new TGripSplitter(Qt::Vertical, this);
    splitter_->setObjectName(objectName + QStringLiteral("Splitter"));
    splitter_->setChildrenCollapsible(false);
    tree_ = new TShellTreeViewEx(splitter_);
    tree_->setObjectName(objectName + QStringLiteral("Tree"));
    list_ = new TThumbnailListview(splitter_, kind);
    list_->setObjectName(objectName + QStringLiteral("List"));
    // Clipart goes onto a page one file at a time.
    list_->SetMultiSelect(kind == TThumbnailListview::TDragKind::Pictures);
    splitter_->addWidget(tree_);
    splitter_->addWidget(list_);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    layout->addWidget(splitter_);
    connect(splitter_, &QSplitter::splitterMoved, this, [this] { userMovedSplitter_ = true; });
    connect(tree_, &TShellTreeViewEx::FolderChanged, list_, &TThumbnailListview::SetFolder);

    const QString stored = VXRegIniFile().ReadString(QString(), settingsName_, kNoFolder);
    if (!tree_->SelectFolder(stored) && !tree_->SelectFolder(fallbackFolder))
        tree_->SelectSpecialFolder(TShellTreeViewEx::Documents);
}

QString TPictureBrowser::Folder() const {
    return tree_->ChosenFolder();
}

void TPictureBrowser::SetFolder(const QString& folder) {
    tree_->SelectFolder(folder);
}

void TPictureBrowser::SaveFolder() const {
    const QString folder = Folder();
    if (!folder.isEmpty())
        VXRegIniFile().WriteString(QString(), settingsName_, folder);
}

void TPictureBrowser::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The tree keeps its 200 pixels until the user moves the splitter; the list takes the rest.
    if (userMovedSplitter_)
        return;
    const int rest = std::max(0, splitter_->height() - kTreeHeight - splitter_->handleWidth());
    splitter_->setSizes({kTreeHeight, rest});
}
