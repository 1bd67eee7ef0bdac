#include "app/ui/uMasterRegions.h"

#include "app/ui/uViewHeader.h"
#include "catalogue/ui/uColorListView.h"
#include "catalogue/ui/uPageTemplateListview.h"
#include "editing/uClipartStarterSet.h"
#include "editing/ui/uPictureBrowser.h"
#include "i18n/ulocalize.h"
#include "widgets/ui/uGripSplitter.h"

#include <QTabWidget>
#include <QVBoxLayout>

namespace {

void paintInButtonFace(QWidget& widget) {
    widget.setAutoFillBackground(true);
    widget.setBackgroundRole(QPalette::Button);
}

} // namespace

QWidget* FilledTabPage(const QString& name, QWidget* content) {
    auto* page = new QWidget;
    page->setObjectName(name);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
    return page;
}

TTitlePanel::TTitlePanel(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("panTitel"));
    setFixedHeight(kHeight);
    setAlignment(Qt::AlignCenter);
    QFont titleFont = font();
    titleFont.setPixelSize(kFontPixels);
    setFont(titleFont);
}

TMasterStatusBar::TMasterStatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("StatusBar1"));
    setSizeGripEnabled(false);
    setFixedHeight(kHeight);
    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("StatusBar1Text"));
    addWidget(text_, 1);
}

QString TMasterStatusBar::Text() const {
    return text_->text();
}

void TMasterStatusBar::SetText(const QString& text) {
    text_->setText(text);
}

TToolPanel::TToolPanel(TFBDocument* document, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("panWerkzeug"));
    paintInButtonFace(*this);
    setMinimumWidth(kMinimumWidth);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("PageControlLeft"));
    layout->addWidget(tabs_);

    pictures_ = new TPictureBrowser(QStringLiteral("PictureBrowser"), QStringLiteral("BaseDir"),
                                    TThumbnailListview::TDragKind::Pictures);
    tabs_->addTab(FilledTabPage(QStringLiteral("tsBilder"), pictures_), QStringLiteral("Bilder"));
    layouts_ = new TPageTemplateListview(nullptr);
    layouts_->SetDocument(document);
    layoutsTab_ = FilledTabPage(QStringLiteral("tsLayouts"), layouts_);
    tabs_->addTab(layoutsTab_, QStringLiteral("Layouts"));
    connect(layouts_, &TPageTemplateListview::Rebuilt, this,
            [this](int count) { tabs_->setTabVisible(tabs_->indexOf(layoutsTab_), count > 0); });
    colors_ = new TColorListView;
    tabs_->addTab(FilledTabPage(QStringLiteral("tsFarben"), colors_), QStringLiteral("Farben"));
    clipart_ = new TPictureBrowser(QStringLiteral("ClipartBrowser"), QStringLiteral("ClipartBaseDir"),
                                   TThumbnailListview::TDragKind::Clipart, ClipartStarterSet::Folder());
    // Shown from the start: nothing else would ever show it, and the clipart could not be reached.
    tabs_->addTab(FilledTabPage(QStringLiteral("tsClipart"), clipart_), QStringLiteral("Clipart"));
}

std::vector<TEditorPanel*> TToolPanel::Panels() const {
    return {pictures_, layouts_, colors_, clipart_};
}

TMainPanel::TMainPanel(TViewHeader* header, QWidget* pageView, QWidget* lowerTabs, QWidget* parent)
    : QWidget(parent), header_(header) {
    setObjectName(QStringLiteral("panMain"));
    paintInButtonFace(*this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    splitter_ = new TGripSplitter(Qt::Vertical, this);
    splitter_->setObjectName(QStringLiteral("splMain"));
    auto* viewArea = new QWidget(splitter_);
    viewArea->setObjectName(QStringLiteral("panMainview"));
    viewArea->setMinimumHeight(kMinimumSide);
    auto* viewLayout = new QVBoxLayout(viewArea);
    viewLayout->setContentsMargins(0, 0, 0, 0);
    viewLayout->setSpacing(0);
    viewLayout->addWidget(header);
    viewLayout->addWidget(pageView, 1);
    lowerTabs->setMinimumHeight(kMinimumSide);
    splitter_->addWidget(viewArea);
    splitter_->addWidget(lowerTabs);
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 0);
    layout->addWidget(splitter_);
}
