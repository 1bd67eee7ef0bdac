#pragma once

#include <QLabel>
#include <QStatusBar>
#include <QWidget>

#include <vector>

class QTabWidget;
class TColorListView;
class TEditorPanel;
class TFBDocument;
class TGripSplitter;
class TPageTemplateListview;
class TPictureBrowser;
class TViewHeader;

// The regions of the main window, top to bottom: the title, the toolbar (TMasterToolbar), the tool
// panel on the left beside the main panel, and the status line. Each is named as its component.

// "panTitel": the document's name, 26 pixels high in a 16-pixel font; empty at start.
class TTitlePanel : public QLabel {
    Q_OBJECT
public:
    static constexpr int kHeight = 26;
    static constexpr int kFontPixels = 16;
    explicit TTitlePanel(QWidget* parent = nullptr);
};

// "StatusBar1": one text field, 19 pixels high, without a size grip.
class TMasterStatusBar : public QStatusBar {
    Q_OBJECT
public:
    static constexpr int kHeight = 19;
    explicit TMasterStatusBar(QWidget* parent = nullptr);

    QString Text() const;
    void SetText(const QString& text);

private:
    QLabel* text_;
};

// "panWerkzeug" (in button face) with the tab set "PageControlLeft": pictures, layouts, colours and
// clipart. "Layouts" shows only while the layout list holds layouts.
class TToolPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFirstWidth = 280;
    static constexpr int kMinimumWidth = 168;

    TToolPanel(TFBDocument* document, QWidget* parent = nullptr);

    QTabWidget* Tabs() const { return tabs_; }
    TPictureBrowser* Pictures() const { return pictures_; }
    TPictureBrowser* Clipart() const { return clipart_; }
    TPageTemplateListview* Layouts() const { return layouts_; }
    TColorListView* Colors() const { return colors_; }
    QWidget* LayoutsTab() const { return layoutsTab_; }
    // The lists the main window relays its events to.
    std::vector<TEditorPanel*> Panels() const;

private:
    QTabWidget* tabs_;
    TPictureBrowser* pictures_;
    TPageTemplateListview* layouts_;
    QWidget* layoutsTab_;
    TColorListView* colors_;
    TPictureBrowser* clipart_;
};

// "panMain" (in button face): the view header over the page view, a 5-pixel splitter and the lower
// tab set. The splitter leaves neither side below 168 pixels; the lower tabs start 168 high.
class TMainPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kLowerFirstHeight = 168;
    static constexpr int kMinimumSide = 168;

    // The page view and the lower tabs are made by the window; they become children here.
    TMainPanel(TViewHeader* header, QWidget* pageView, QWidget* lowerTabs, QWidget* parent = nullptr);

    TViewHeader* Header() const { return header_; }
    TGripSplitter* Splitter() const { return splitter_; }

private:
    TViewHeader* header_;
    TGripSplitter* splitter_;
};

// A tab page holding one widget that fills it.
QWidget* FilledTabPage(const QString& name, QWidget* content);
