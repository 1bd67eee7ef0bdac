#include "app/ui/FMainform.h"
#include "app/ui/uMasterToolbar.h"
#include "app/ui/uViewHeader.h"
#include "catalogue/uDateiNeuWizzard.h"
#include "catalogue/ui/FDateiNeuDlg.h"
#include "catalogue/ui/uPageTemplateListview.h"
#include "editing/ui/uThumbnailListview.h"
#include "support/GuiTest.h"
#include "widgets/ui/uGripSplitter.h"

#include "ScriptedPrompts.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QSlider>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

const char* const kToolbarButtons[] = {"BtnAlbumNeu",      "BtnAlbumOeffnen",   "BtnAlbumSpeichern",
                                       "BtnAlbumDrucken",  "BtnEntfernen",      "BtnBlattausrichtung",
                                       "BtnTextEinfuegen", "BtnBilderschatten", "BtnRueckgaengig"};

class MainWindowLayout : public TestSupport::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        master = std::make_unique<TMaster>(&prompts);
        master->show();
        settle();
    }
    void TearDown() override {
        master.reset();
        GuiTest::TearDown();
    }
    void settle() {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    // The client below the menu bar: what the regions share.
    void resizeClient(int width, int height) {
        master->resize(width, height + master->menuBar()->height());
        settle();
    }
    QWidget* widget(const char* name) const {
        QWidget* found = master->findChild<QWidget*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    // The widget's rectangle in the client below the menu bar.
    QRect inClient(const char* name) const {
        QWidget* w = widget(name);
        if (!w)
            return {};
        return QRect(w->mapTo(master.get(), QPoint(0, -master->menuBar()->height())), w->size());
    }
    QRect inToolbar(QWidget* w) const {
        return QRect(w->mapTo(widget("panToolbar"), QPoint(0, 0)), w->size());
    }

    // The regions stack as listed and keep their fixed extents at any client size.
    void expectRegions(int width, int height) {
        SCOPED_TRACE(testing::Message() << width << " x " << height);
        EXPECT_EQ(inClient("panTitel"), QRect(0, 0, width, 26));
        EXPECT_EQ(inClient("panToolbar"), QRect(0, 26, width, 64));
        EXPECT_EQ(inClient("StatusBar1"), QRect(0, height - 19, width, 19));
        const int bodyHeight = height - 26 - 64 - 19;
        const QRect tools = inClient("panWerkzeug");
        const QRect main = inClient("panMain");
        EXPECT_EQ(tools.top(), 90);
        EXPECT_EQ(tools.height(), bodyHeight);
        EXPECT_EQ(tools.left(), 0);
        EXPECT_EQ(main.left(), tools.right() + 1 + 5) << "the upright splitter is 5 pixels";
        EXPECT_EQ(main.right(), width - 1);
        EXPECT_EQ(main.height(), bodyHeight);
        const QRect header = inClient("panMainviewTop");
        EXPECT_EQ(header, QRect(main.left(), 90, main.width(), 25));
        const QRect lower = inClient("pagecontrolBottom");
        EXPECT_EQ(lower.bottom(), main.bottom());
        EXPECT_GE(lower.height(), 168);
        EXPECT_GE(lower.top() - 5 - 90, 168) << "the view side keeps 168 pixels too";
        expectToolbarRule();
        expectHeaderRule();
    }

    // No two buttons overlap, and the close button stands at the right end, 5 pixels from the
    // edge, right of the last other button the toolbar shows.
    void expectToolbarRule() {
        auto* close = master->findChild<QToolButton*>(QStringLiteral("BtnSchliessen"));
        ASSERT_NE(close, nullptr);
        const int width = widget("panToolbar")->width();
        const QRect closeRect = inToolbar(close);
        EXPECT_EQ(closeRect.right() + 1 + 5, width);
        EXPECT_EQ(closeRect.height(), 60);
        std::vector<QRect> shown;
        for (const char* name : kToolbarButtons) {
            auto* button = master->findChild<QToolButton*>(QString::fromLatin1(name));
            ASSERT_NE(button, nullptr) << name;
            EXPECT_EQ(button->height(), 60) << name;
            if (button->isVisible())
                shown.push_back(inToolbar(button));
        }
        ASSERT_FALSE(shown.empty());
        for (std::size_t i = 0; i < shown.size(); ++i) {
            EXPECT_FALSE(shown[i].intersects(closeRect)) << i;
            EXPECT_LE(shown[i].right(), width) << i;
            for (std::size_t j = i + 1; j < shown.size(); ++j)
                EXPECT_FALSE(shown[i].intersects(shown[j])) << i << " " << j;
        }
    }

    void expectHeaderRule() {
        QWidget* header = widget("panMainviewTop");
        const int w = header->width();
        const QRect back = widget("BtnSeiteZurueck")->geometry();
        const QRect label = widget("lblSeitenzahl")->geometry();
        const QRect forward = widget("BtnSeiteVor")->geometry();
        const QRect image = widget("imgZoom")->geometry();
        const QRect zoom = widget("tbMainViewZoom")->geometry();
        EXPECT_EQ(zoom.width(), 100);
        EXPECT_EQ(zoom.right() + 1 + 5, w);
        EXPECT_EQ(image.right() + 1 + 3, zoom.left());
        EXPECT_EQ(back.size(), QSize(24, 24));
        EXPECT_EQ(forward.size(), QSize(24, 24));
        EXPECT_EQ(label.width(), 146);
        EXPECT_EQ(label.left(), back.right() + 1);
        EXPECT_EQ(forward.left(), label.right() + 1);
        if (w / 2 - 97 + 194 + 4 <= image.left()) {
            EXPECT_EQ(back.left(), w / 2 - 97) << "centred";
        } else {
            EXPECT_EQ(forward.right() + 1 + 4, image.left()) << "moved left in a narrow header";
        }
        EXPECT_FALSE(forward.intersects(image));
    }

    ScriptedPrompts prompts;
    std::unique_ptr<TMaster> master;
};

} // namespace

TEST_F(MainWindowLayout, FirstStartSizesAndRegions) {
    EXPECT_EQ(master->minimumSize(), QSize(700, 500));
    // The placement keeps the window on the screen (the offscreen default is 800 x 600; the
    // ctest entry main_window_wide_screen runs this on a large one).
    const QSize screen = master->screen()->geometry().size();
    if (screen.width() >= 856 && screen.height() >= 700) {
        EXPECT_EQ(master->width(), 856);
        EXPECT_EQ(master->height() - master->menuBar()->height(), 632);
        expectRegions(856, 632);
        EXPECT_EQ(inClient("panWerkzeug").width(), 280);
        EXPECT_EQ(inClient("pagecontrolBottom").height(), 168);
    } else {
        expectRegions(master->width(), master->height() - master->menuBar()->height());
    }
    EXPECT_FALSE(master->statusBar()->isSizeGripEnabled());
    EXPECT_EQ(widget("panTitel")->font().pixelSize(), 16);
    EXPECT_TRUE(static_cast<QLabel*>(widget("panTitel"))->text().isEmpty());
    auto* zoom = static_cast<QSlider*>(widget("tbMainViewZoom"));
    EXPECT_EQ(zoom->minimum(), 100);
    EXPECT_EQ(zoom->maximum(), 800);
    EXPECT_EQ(zoom->value(), 100);
}

TEST_F(MainWindowLayout, RegionsAtTheMinimumAndAtALargeSize) {
    resizeClient(700, 500 - master->menuBar()->height());
    expectRegions(700, 500 - master->menuBar()->height());
    // The side panels keep their width and height; the page view takes what is left.
    EXPECT_EQ(inClient("panWerkzeug").width(), 280);
    resizeClient(1600, 1000);
    expectRegions(1600, 1000);
    EXPECT_EQ(inClient("panWerkzeug").width(), 280);
    EXPECT_EQ(inClient("pagecontrolBottom").height(), 168);
}

TEST_F(MainWindowLayout, LongCaptionsOverlapNothing) {
    for (const char* name : kToolbarButtons) {
        auto* button = master->findChild<QToolButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr);
        const QString text = button->defaultAction()->iconText();
        button->defaultAction()->setIconText(text + text + text);
    }
    auto* close = master->findChild<QToolButton*>(QStringLiteral("BtnSchliessen"));
    close->defaultAction()->setIconText(close->defaultAction()->iconText().repeated(3));
    settle();
    for (const QSize client : {QSize(856, 632), QSize(700, 440), QSize(1600, 1000)}) {
        resizeClient(client.width(), client.height());
        SCOPED_TRACE(client.width());
        expectToolbarRule();
    }
}

TEST(ViewHeaderGeometry, CentredWhereThereIsRoomElseLeftOfTheZoomImage) {
    const QSize image(16, 16);
    const TViewHeaderGeometry wide = TViewHeaderGeometry::For(QSize(800, 25), 21, image);
    EXPECT_EQ(wide.Zoom, QRect(695, 1, 100, 21));
    EXPECT_EQ(wide.Image.right(), 691);
    EXPECT_EQ(wide.Back.left(), 303);
    EXPECT_EQ(wide.Forward.right(), 303 + 194 - 1);
    // 415 wide: centred, the next-view button would end at 207 - 97 + 194 = 304, past the image
    // at 415 - 105 - 3 - 16 = 291.
    const TViewHeaderGeometry narrow = TViewHeaderGeometry::For(QSize(415, 25), 21, image);
    EXPECT_EQ(narrow.Image.left(), 291);
    EXPECT_EQ(narrow.Forward.right() + 1, 287);
    EXPECT_EQ(narrow.Back.left(), 287 - 194);
    // Narrower still, the buttons stop at the left edge.
    EXPECT_EQ(TViewHeaderGeometry::For(QSize(150, 25), 21, image).Back.left(), 0);
}

// --- the grip ---------------------------------------------------------------------------------

namespace {

const QColor kFace(0, 200, 0);
const QColor kLight(255, 0, 0);
const QColor kDark(0, 0, 255);

// The handle of a two-pane splitter `length` long, as painted.
QImage paintedHandle(Qt::Orientation orientation, int length) {
    TGripSplitter splitter(orientation);
    QPalette palette = splitter.palette();
    palette.setColor(QPalette::Button, kFace);
    palette.setColor(QPalette::Light, kLight);
    palette.setColor(QPalette::Dark, kDark);
    splitter.setPalette(palette);
    splitter.addWidget(new QWidget);
    splitter.addWidget(new QWidget);
    splitter.resize(orientation == Qt::Vertical ? QSize(length, 200) : QSize(200, length));
    splitter.show();
    QApplication::processEvents();
    QSplitterHandle* handle = splitter.handle(1);
    EXPECT_EQ(orientation == Qt::Vertical ? handle->size() : handle->size().transposed(), QSize(length, 5));
    return handle->grab().toImage();
}

// Every pixel of a handle lying across, whose grip spans x = from .. to - 1 (none: from == to).
void expectAcrossGrip(const QImage& image, int from, int to) {
    int wrong = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            QColor want = kFace;
            if (x >= from && x < to) {
                if (y == image.height() - 1 || x == to - 1)
                    want = kDark;
                else if (y == 0 || x == from)
                    want = kLight;
            }
            if (image.pixelColor(x, y) != want && ++wrong <= 5)
                ADD_FAILURE() << "pixel " << x << "," << y << " is "
                              << image.pixelColor(x, y).name().toStdString() << ", not "
                              << want.name().toStdString();
        }
    EXPECT_EQ(wrong, 0);
}

QImage transposed(const QImage& image) {
    return image.transformed(QTransform(0, 1, 1, 0, 0, 0));
}

} // namespace

TEST(SplitterGrip, PixelsAtThreeLengthsInBothOrientations) {
    const struct { int Length, From, To; } cases[] = {{300, 100, 200}, {110, 10, 100}, {24, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Length);
        const QImage across = paintedHandle(Qt::Vertical, c.Length);
        ASSERT_EQ(across.size(), QSize(c.Length, 5));
        expectAcrossGrip(across, c.From, c.To);
        const QImage upright = paintedHandle(Qt::Horizontal, c.Length);
        ASSERT_EQ(upright.size(), QSize(5, c.Length));
        expectAcrossGrip(transposed(upright), c.From, c.To);
    }
    EXPECT_TRUE(SplitterGrip::Rect(QSize(24, 5), true).isEmpty());
}

TEST_F(MainWindowLayout, EverySplitterOfTheWindowHasGripHandles) {
    const QList<QSplitter*> splitters = master->findChildren<QSplitter*>();
    ASSERT_EQ(splitters.size(), 4) << "the window's two and one in each browser";
    for (QSplitter* splitter : splitters) {
        SCOPED_TRACE(splitter->objectName().toStdString());
        EXPECT_EQ(splitter->handleWidth(), 5);
        for (int i = 1; i < splitter->count(); ++i)
            EXPECT_NE(qobject_cast<TGripSplitterHandle*>(splitter->handle(i)), nullptr);
    }
}

// The Layouts tab shows only while the product has layouts to offer: not for the label sheets of
// product 102, which place their frames themselves, but for a photo book.
TEST_F(MainWindowLayout, LayoutsTabOnlyWhileTheProductOffersLayouts) {
    int product = 102;
    master->SetNewProjectWizard([&product](TFBDocument& document) {
        return CreateProductDocument(document, product, 2026) ? TDateiNeuDlg::ResultCreated
                                                              : TDateiNeuDlg::ResultCancelled;
    });
    auto* left = master->findChild<QTabWidget*>(QStringLiteral("PageControlLeft"));
    auto* layouts = master->findChild<TPageTemplateListview*>();
    ASSERT_TRUE(left && layouts);
    const auto shown = [&] { return left->isTabVisible(left->indexOf(widget("tsLayouts"))); };
    const auto create = [&](int code) {
        product = code;
        master->findChild<QAction*>(QStringLiteral("mnuDateiNeu"))->trigger();
        settle();
    };
    create(102);
    EXPECT_EQ(layouts->count(), 0);
    EXPECT_FALSE(shown());
    create(31);
    EXPECT_GT(layouts->count(), 0);
    EXPECT_TRUE(shown());
    left->setCurrentWidget(widget("tsLayouts"));
    // Hidden while it is the current tab: a visible tab takes its place.
    create(102);
    EXPECT_FALSE(shown());
    EXPECT_TRUE(left->isTabVisible(left->currentIndex()));
    EXPECT_NE(left->currentWidget(), widget("tsLayouts"));
}

TEST_F(MainWindowLayout, BrowsersStackTreeSplitterAndThumbnails) {
    for (const char* browser : {"PictureBrowser", "ClipartBrowser"}) {
        SCOPED_TRACE(browser);
        auto* tabs = static_cast<QTabWidget*>(widget("PageControlLeft"));
        tabs->setCurrentWidget(widget(browser)->parentWidget());
        settle();
        const QString name = QString::fromLatin1(browser);
        const QByteArray tree = (name + QStringLiteral("Tree")).toLatin1();
        const QByteArray list = (name + QStringLiteral("List")).toLatin1();
        const QRect whole = inClient(browser);
        EXPECT_EQ(inClient(tree.constData()), QRect(whole.topLeft(), QSize(whole.width(), 200)));
        EXPECT_EQ(inClient(list.constData()).top(), whole.top() + 200 + 5);
        EXPECT_EQ(inClient(list.constData()).bottom(), whole.bottom());
        EXPECT_EQ(widget(tree.constData())->accessibleName(),
                  QStringLiteral("Ordner: ") + tabs->tabText(tabs->currentIndex()));
    }
    // The tree keeps its height when the window grows; the thumbnails take the rest.
    resizeClient(1200, 900);
    EXPECT_EQ(inClient("ClipartBrowserTree").height(), 200);
    EXPECT_EQ(inClient("ClipartBrowserList").bottom(), inClient("ClipartBrowser").bottom());
    auto* clipart = static_cast<TThumbnailListview*>(widget("ClipartBrowserList"));
    EXPECT_FALSE(clipart->MultiSelect());
    EXPECT_TRUE(static_cast<TThumbnailListview*>(widget("PictureBrowserList"))->MultiSelect());
}

TEST_F(MainWindowLayout, ControlsAreNamedForScreenReadersInTheCurrentLanguage) {
    QWidget* save = widget("BtnAlbumSpeichern");
    EXPECT_EQ(save->accessibleName(), QStringLiteral("Speichern"));
    EXPECT_EQ(save->accessibleDescription(), QStringLiteral("Album speichern"));
    EXPECT_EQ(widget("BtnSeiteVor")->accessibleName(), QStringLiteral("Nächste Seite"))
        << "the hint without a caption";
    auto* left = static_cast<QTabWidget*>(widget("PageControlLeft"));
    EXPECT_EQ(left->tabBar()->accessibleTabName(2), QStringLiteral("Farben"));
    EXPECT_EQ(widget("lvFarben")->accessibleName(), QStringLiteral("Farben"));
    EXPECT_EQ(widget("tsSeiten")->accessibleName(), QStringLiteral("Seiten"));
    EXPECT_EQ(widget("tbMainViewZoom")->accessibleName(), QStringLiteral("Zoom"));
    EXPECT_FALSE(widget("lblSeitenzahl")->accessibleName().isEmpty());

    // As a language switch leaves them: new captions, then the change event.
    static_cast<QToolButton*>(save)->defaultAction()->setIconText(QStringLiteral("Save"));
    left->setTabText(2, QStringLiteral("Colours"));
    QEvent change(QEvent::LanguageChange);
    QApplication::sendEvent(master.get(), &change);
    settle();
    EXPECT_EQ(save->accessibleName(), QStringLiteral("Save"));
    EXPECT_EQ(left->tabBar()->accessibleTabName(2), QStringLiteral("Colours"));
    EXPECT_EQ(widget("lvFarben")->accessibleName(), QStringLiteral("Colours"));
}
