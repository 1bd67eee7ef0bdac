#include "document/uFotobuchDocument.h"
#include "editing/PageViewSupport.h"
#include "editing/uDocumentBusy.h"
#include "editing/uPageViewOffscreen.h"
#include "editing/ui/uCursorRegistry.h"
#include "editing/ui/uFotobuchMainview.h"
#include "platform/uDebug.h"
#include "support/GuiTest.h"
#include "support/PageElements.h"

#include <QApplication>
#include <QDir>
#include <QPaintEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using PageViewSupport::givePhoto;

TFBTextElement* addText(TFBPage* page, float cx, float cy, float w, float h, float angle = 0) {
    auto* text = PageViewSupport::addText(page, cx, cy, w, h, angle);
    text->SetHasShadow(true);
    return text;
}

// Records the areas the viewport paints.
class TPaintLog : public QObject {
public:
    std::vector<QRect> Rects;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint)
            Rects.push_back(static_cast<QPaintEvent*>(e)->rect());
        return false;
    }
};

// A shown page view on a photo book spread with a linked panorama, a text and a clipart.
class MainViewUi : public TestSupport::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        doc.Reset();
        doc.ScreenMode = 1;
        doc.PageWidth = 216;
        doc.PageHeight = 135;
        doc.Stegbreite = 2;
        doc.Umschlagbreite = 4;
        doc.PicturesHaveShadows = true;
        TestSupport::addPages(doc, 5);
        left = doc.Pages.Items(1);
        right = doc.Pages.Items(2);
        frame = TestSupport::placeElement<TFBPictureElement>(left, 150, 60, 100, 80);
        partner = TestSupport::placeElement<TFBPictureElement>(right, 60, 60, 100, 80);
        TFBPictureLink* link = doc.AddPictureLink();
        link->Add(frame);
        link->Add(partner);
        givePhoto(frame);
        link->SyncFrom(frame);
        frame->SetBorderWidth(1.5f);
        text = addText(right, 150, 100, 60, 20, 8);
        QImage clip(24, 16, QImage::Format_ARGB32);
        clip.fill(Qt::transparent);
        for (int y = 4; y < 12; ++y)
            for (int x = 6; x < 18; ++x)
                clip.setPixel(x, y, qRgba(200, 40, 20, 255));
        clipPath = QDir::tempPath() + QStringLiteral("/tintaro-pageview-clip.png");
        clip.save(clipPath, "PNG");
        clipart = TestSupport::placeElement<TFBClipartElement>(right, 40, 110, 24, 16);
        clipart->SetClipartFile(clipPath);
        clipart->CenterX = 40;
        clipart->CenterY = 110;
        clipart->Width = 24;
        clipart->Height = 16;

        view = std::make_unique<TFBMainView>(nullptr, &doc);
        view->resize(1000, 620);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        view->SetScreen(1);
        QApplication::processEvents();
        view->viewport()->installEventFilter(&log);
    }
    void TearDown() override {
        view.reset();
        QFile::remove(clipPath);
        GuiTest::TearDown();
    }

    QWidget* port() const { return view->viewport(); }
    QPoint at(const TFBPage* page, float x, float y) {
        const TFBPointF o = doc.PageOffset(page);
        float dx, dy;
        view->Core().Transformation().Transform(o.X + x, o.Y + y, dx, dy);
        return QPoint(static_cast<int>(std::lrint(dx)), static_cast<int>(std::lrint(dy)));
    }
    void send(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons,
              Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QMouseEvent e(type, QPointF(p), QPointF(port()->mapToGlobal(p)), button, buttons, mods);
        QApplication::sendEvent(port(), &e);
    }
    void drag(const std::vector<QPoint>& points, Qt::MouseButton button = Qt::LeftButton,
              Qt::KeyboardModifiers mods = Qt::NoModifier) {
        send(QEvent::MouseButtonPress, points.front(), button, button, mods);
        for (size_t i = 1; i < points.size(); ++i)
            send(QEvent::MouseMove, points[i], Qt::NoButton, button, mods);
        send(QEvent::MouseButtonRelease, points.back(), button, Qt::NoButton, mods);
    }
    void wheel(QPoint p, int delta, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWheelEvent e(QPointF(p), QPointF(port()->mapToGlobal(p)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      mods, Qt::NoScrollPhase, false);
        QApplication::sendEvent(port(), &e);
    }
    // What the screen shows of the viewport (the window system's copy, not a new paint).
    QImage shown() {
        QApplication::processEvents();
        const QPoint origin = port()->mapTo(view->window(), QPoint(0, 0));
        return view->screen()
            ->grabWindow(view->window()->winId(), origin.x(), origin.y(), port()->width(), port()->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    // The shown picture equals a fresh paint of the whole viewport.
    ::testing::AssertionResult matchesFullRepaint() {
        const QImage before = shown();
        port()->repaint();
        const QImage after = shown();
        if (before == after)
            return ::testing::AssertionSuccess();
        int differing = 0;
        for (int y = 0; y < after.height(); ++y)
            for (int x = 0; x < after.width(); ++x)
                differing += before.pixel(x, y) != after.pixel(x, y);
        return ::testing::AssertionFailure() << differing << " pixels differ from a full repaint";
    }
    // Every area painted since the log was cleared lies inside the element's repaint area (and
    // its panorama partners' and the tracker's handles), never the whole view.
    ::testing::AssertionResult paintedOnly(TFBElement& element) {
        QRegion allowed;
        for (TFBElement* e : {static_cast<TFBElement*>(&element), static_cast<TFBElement*>(partner),
                              static_cast<TFBElement*>(frame)}) {
            const TRect r = view->Core().ElementArea(*e);
            allowed += QRect(r.Left, r.Top, r.Width(), r.Height()).adjusted(-30, -30, 30, 30);
        }
        for (const QRect& r : log.Rects) {
            if (r == port()->rect())
                return ::testing::AssertionFailure() << "the whole view was painted";
            if (!allowed.contains(r) && QRegion(r).subtracted(allowed).rectCount() > 0)
                return ::testing::AssertionFailure() << "painted outside the element";
        }
        return ::testing::AssertionSuccess();
    }

    TFBDocument doc;
    TFBPage* left = nullptr;
    TFBPage* right = nullptr;
    TFBPictureElement* frame = nullptr;
    TFBPictureElement* partner = nullptr;
    TFBTextElement* text = nullptr;
    TFBClipartElement* clipart = nullptr;
    QString clipPath;
    std::unique_ptr<TFBMainView> view;
    TPaintLog log;
};

TEST_F(MainViewUi, BodyDragOfTextAndClipartRepaintsOnlyTheirAreaAndMatchesAFullRepaint) {
    for (float zoom : {1.0f, 8.0f}) {
        for (TFBElement* element : {static_cast<TFBElement*>(text), static_cast<TFBElement*>(clipart)}) {
            view->Select(nullptr);
            view->SetZoom(1);
            const QPoint centre = at(right, element->CenterX, element->CenterY);
            view->Core().ZoomAt(centre.x(), centre.y(), zoom);
            ASSERT_TRUE(matchesFullRepaint());
            const QPoint p = at(right, element->CenterX, element->CenterY);
            send(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
            ASSERT_EQ(view->Selected(), element);
            QApplication::processEvents();
            for (int step = 1; step <= 3; ++step) {
                log.Rects.clear();
                send(QEvent::MouseMove, p + QPoint(4 * step, 3 * step), Qt::NoButton, Qt::LeftButton);
                EXPECT_FALSE(log.Rects.empty()); // painted at once, not later
                EXPECT_TRUE(paintedOnly(*element)) << zoom;
                EXPECT_TRUE(matchesFullRepaint()) << "zoom " << zoom << " step " << step;
            }
            send(QEvent::MouseButtonRelease, p + QPoint(12, 9), Qt::LeftButton, Qt::NoButton);
            EXPECT_TRUE(matchesFullRepaint()) << zoom;
        }
    }
}

TEST_F(MainViewUi, HandleDragPanAndScrollPan) {
    view->Select(text);
    QApplication::processEvents();
    // The right middle handle of the turned text.
    const TFBPointF o = doc.PageOffset(right);
    float hx, hy;
    {
        TTransformation& t = view->Core().Transformation();
        TTransformationSaver saver(t);
        t.Translate(o.X + text->CenterX, o.Y + text->CenterY);
        t.Rotate(text->Angle);
        t.Transform(text->Width / 2, 0, hx, hy);
    }
    const QPoint handle(static_cast<int>(std::lrint(hx)), static_cast<int>(std::lrint(hy)));
    const float width = text->Width;
    drag({handle, handle + QPoint(20, 0), handle + QPoint(40, 3)});
    EXPECT_GT(text->Width, width + 5);
    EXPECT_TRUE(matchesFullRepaint());

    // Panning the photo moves both frames of the panorama (the 2:1 photo over the 228 x 80 mm
    // panorama pans up and down).
    const float offset = frame->OffsetY;
    log.Rects.clear();
    drag({at(left, 150, 60), at(left, 150, 60) + QPoint(-10, -20), at(left, 150, 60) + QPoint(-20, -40)});
    EXPECT_GT(frame->OffsetY, offset);
    EXPECT_FLOAT_EQ(partner->OffsetY, frame->OffsetY);
    EXPECT_TRUE(paintedOnly(*frame));
    EXPECT_TRUE(matchesFullRepaint());

    // Shift+drag at zoom 1 selects and moves instead of scrolling.
    const float cx = text->CenterX;
    drag({at(right, text->CenterX, text->CenterY), at(right, text->CenterX, text->CenterY) + QPoint(25, 0)},
         Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_GT(text->CenterX, cx);
    EXPECT_EQ(view->horizontalScrollBar()->value(), 0);

    // The middle button scrolls a zoomed view, and the scroll bars follow.
    view->SetZoom(3);
    QApplication::processEvents();
    const int x0 = view->horizontalScrollBar()->value();
    drag({QPoint(500, 300), QPoint(450, 300), QPoint(400, 300)}, Qt::MiddleButton);
    EXPECT_EQ(view->Core().ScrollX(), x0 + 100);
    EXPECT_EQ(view->horizontalScrollBar()->value(), x0 + 100);
    EXPECT_TRUE(matchesFullRepaint());
    // A trough click moves 50 pixels, the page step stays the client size.
    view->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QApplication::processEvents();
    EXPECT_EQ(view->Core().ScrollX(), x0 + 150);
    EXPECT_EQ(view->horizontalScrollBar()->pageStep(), port()->width());
    EXPECT_EQ(view->horizontalScrollBar()->singleStep(), 10);
}

TEST_F(MainViewUi, DoubleClickDoesNothingAndAPressTakesTheFocus) {
    view->clearFocus();
    ASSERT_NE(view->focusWidget(), view.get());
    const QPoint p = at(right, text->CenterX, text->CenterY);
    QTest::mouseClick(port(), Qt::LeftButton, Qt::NoModifier, p);
    EXPECT_EQ(view->focusWidget(), view.get());
    EXPECT_EQ(view->Selected(), text);
    const float cx = text->CenterX;
    QTest::mouseDClick(port(), Qt::LeftButton, Qt::NoModifier, p);
    send(QEvent::MouseMove, p + QPoint(30, 0), Qt::NoButton, Qt::LeftButton);
    EXPECT_FLOAT_EQ(text->CenterX, cx);
    EXPECT_FALSE(view->Core().Dragging());
    EXPECT_FALSE(view->accessibleName().isEmpty());
}

TEST_F(MainViewUi, CursorsFollowTheHover) {
    send(QEvent::MouseMove, at(right, text->CenterX, text->CenterY), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(port()->cursor().shape(), Qt::SizeAllCursor);
    send(QEvent::MouseMove, at(left, 150, 60), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(port()->cursor().shape(), Qt::BitmapCursor);
    EXPECT_FALSE(port()->cursor().pixmap().isNull());
    send(QEvent::MouseMove, QPoint(3, 3), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(port()->cursor().shape(), Qt::ArrowCursor);
    // On an unturned text the corner handle shows the diagonal resize cursor.
    text->Angle = 0;
    view->Select(text);
    send(QEvent::MouseMove, at(right, text->CenterX + text->Width / 2, text->CenterY + text->Height / 2),
         Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(port()->cursor().shape(), Qt::SizeFDiagCursor);
    send(QEvent::MouseMove, at(right, text->CenterX, text->CenterY - text->Height / 2), Qt::NoButton,
         Qt::NoButton);
    EXPECT_EQ(port()->cursor().shape(), Qt::SizeVerCursor);
    // Every image cursor has its picture, the drawn ones at the screen's pixel ratio.
    for (int n : ResourceCursorNumbers())
        EXPECT_FALSE(PageViewCursor(n).pixmap().isNull()) << n;
    EXPECT_EQ(ResourceCursorNumbers().size(), 10u);
    for (int n : {102, 123, 124}) {
        const QPixmap image = CursorPixmap(n);
        EXPECT_EQ(image.size(), QSize(32, 32) * image.devicePixelRatio()) << n;
        EXPECT_EQ(image.devicePixelRatio(), port()->devicePixelRatio()) << n;
    }
    EXPECT_EQ(PageViewCursor(102).hotSpot(), QPoint(1, 1)) << "the arrow's tip of the drag cursor";
    EXPECT_TRUE(CursorPixmap(crSizeAll).isNull()) << "the theme's shapes have no image of ours";
}

// Our cursor images from a folder: a missing one gives the arrow and one trace line, a PNG serves
// without an SVG, and its 2x variant above ratio 1.
TEST(CursorImages, AMissingImageIsTheArrowWithOneTraceLineAndPngsServeAtEitherRatio) {
    QStringList lines;
    Debug().setSink([&lines](const QString& line) { lines << line; });
    QTemporaryDir folder;
    const QCursor missing = MakeResourceCursor(crMarker123, folder.path(), 1);
    EXPECT_EQ(missing.shape(), Qt::ArrowCursor);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].contains(QStringLiteral("Cursor 123 fehlt in ") + folder.path()))
        << lines[0].toStdString();

    QImage plain(32, 32, QImage::Format_ARGB32);
    plain.fill(Qt::red);
    ASSERT_TRUE(plain.save(folder.filePath(QStringLiteral("123.png"))));
    QImage doubled(64, 64, QImage::Format_ARGB32);
    doubled.fill(Qt::blue);
    ASSERT_TRUE(doubled.save(folder.filePath(QStringLiteral("123@2x.png"))));
    const QCursor single = MakeResourceCursor(crMarker123, folder.path(), 1);
    EXPECT_EQ(single.shape(), Qt::BitmapCursor);
    EXPECT_EQ(single.pixmap().size(), QSize(32, 32));
    EXPECT_EQ(single.pixmap().toImage().pixelColor(5, 5), QColor(Qt::red));
    const QCursor sharp = MakeResourceCursor(crMarker123, folder.path(), 2);
    EXPECT_EQ(sharp.pixmap().devicePixelRatio(), 2);
    EXPECT_EQ(sharp.pixmap().toImage().pixelColor(5, 5), QColor(Qt::blue));
    // The program's own images are all there.
    for (int n : ResourceCursorNumbers())
        EXPECT_EQ(MakeResourceCursor(n, QStringLiteral(":/cursors"), 1).shape(), Qt::BitmapCursor) << n;
    Debug().setSink({});
    EXPECT_EQ(lines.size(), 1);
}

TEST_F(MainViewUi, KeysMoveTabAndEscapeAndDeleteRemovesThePhotoCleanly) {
    view->setFocus();
    view->Select(text);
    const float cx = text->CenterX;
    QTest::keyClick(view.get(), Qt::Key_Right);
    EXPECT_FLOAT_EQ(text->CenterX, cx + 1);
    EXPECT_EQ(view->horizontalScrollBar()->value(), 0);
    EXPECT_TRUE(matchesFullRepaint());
    QTest::keyClick(view.get(), Qt::Key_Escape);
    EXPECT_EQ(view->Selected(), nullptr);
    // Tab walks the elements of the spread and then leaves the view.
    QTest::keyClick(view.get(), Qt::Key_Tab);
    EXPECT_EQ(view->Selected(), frame);
    QTest::keyClick(view.get(), Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(view->Selected(), nullptr);
    // Delete on the photo at zoom 8 leaves neither shadow nor border behind.
    view->Select(frame);
    view->Core().ZoomAt(at(left, 200, 100).x(), at(left, 200, 100).y(), 8);
    QApplication::processEvents();
    log.Rects.clear();
    QTest::keyClick(view.get(), Qt::Key_Delete);
    EXPECT_FALSE(frame->HasPicture());
    EXPECT_TRUE(matchesFullRepaint());
}

TEST_F(MainViewUi, WheelZoomsThePhotoAndCtrlWheelTheView) {
    int zoomChanges = 0;
    QObject::connect(view.get(), &TFBMainView::ZoomChanged, [&] { ++zoomChanges; });
    const QPoint p = at(left, 150, 60);
    wheel(p, -120);
    EXPECT_NEAR(frame->Zoom, 1.03f, 1e-5);
    EXPECT_EQ(view->Selected(), frame);
    EXPECT_FLOAT_EQ(view->Zoom(), 1);
    for (int i = 0; i < 4; ++i)
        wheel(p, -30, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(view->Zoom(), 1.05f);
    EXPECT_EQ(zoomChanges, 1);
    EXPECT_TRUE(matchesFullRepaint());
    // The plain wheel over the page background scrolls the zoomed view.
    const int y0 = view->Core().ScrollY();
    wheel(QPoint(5, 5), 120);
    EXPECT_EQ(view->Core().ScrollY(), std::max(0, y0 - 30));
}

// At a pixel ratio of 2 or 1.5 (the program is run with QT_SCALE_FACTOR set for this) the back
// buffer has that many times the pixels, the handles keep their logical size, and the window
// shows what the headless view draws at that ratio.
TEST(MainViewRatio, BufferHandlesAndPixelsFollowTheRatio) {
    const char* factor = std::getenv("QT_SCALE_FACTOR");
    if (!factor)
        GTEST_SKIP() << "runs with QT_SCALE_FACTOR set";
    const double ratio = QByteArray(factor).toDouble();
    TFBDocument doc;
    doc.Reset();
    doc.ScreenMode = 0;
    doc.PageWidth = 150;
    doc.PageHeight = 100;
    TestSupport::addPages(doc, 1);
    auto* text = addText(doc.Pages.Items(0), 75, 50, 40, 20);
    TFBMainView view(nullptr, &doc);
    view.resize(600, 400);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    ASSERT_DOUBLE_EQ(view.devicePixelRatioF(), ratio);
    const QSize client = view.viewport()->size();
    // At least the client, at most 150 pixels more on each side, at the ratio.
    const QImage& buffer = view.Core().BackBuffer();
    EXPECT_GE(buffer.width(), static_cast<int>(std::ceil(client.width() * ratio)));
    EXPECT_LE(buffer.width(), static_cast<int>(std::ceil((client.width() + 150) * ratio)));
    EXPECT_GE(buffer.height(), static_cast<int>(std::ceil(client.height() * ratio)));
    view.Select(text);
    QApplication::processEvents();
    // The right edge handle is hit within 4 logical pixels and missed at 5.
    float hx, hy;
    view.Core().Transformation().Transform(95, 50, hx, hy);
    const int x = static_cast<int>(std::lrint(hx)), y = static_cast<int>(std::lrint(hy));
    TTransformation& t = view.Core().Transformation();
    int cursor = 0;
    EXPECT_TRUE(view.Core().Tracker().GetCursor(t, x + 4, y, cursor));
    EXPECT_FALSE(view.Core().Tracker().GetCursor(t, x + 5, y + 5, cursor));
    const QImage shown = view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.width(), static_cast<int>(std::lround(client.width() * ratio)));
    // The handle is 6 logical pixels of green across.
    const int px = static_cast<int>(std::lrint(hx * ratio)), py = static_cast<int>(std::lrint(hy * ratio));
    int green = 0;
    for (int gx = px - 12; gx <= px + 12; ++gx)
        green += QColor(shown.pixel(gx, py)) == QColor(0, 255, 0);
    EXPECT_NEAR(green, 6 * ratio - 2, 2.5);
    // No edge is left unpainted.
    const QImage raw = view.viewport()->grab().toImage();
    for (int i = 0; i < raw.width(); ++i)
        ASSERT_NE(raw.pixel(i, raw.height() - 1), 0u) << i;
    // The same view drawn headless at the same ratio gives the same pixels.
    TOffscreenPageWindow window;
    TPageView headless(&doc, &window);
    window.Attach(&headless);
    headless.Resize(client.width(), client.height(), static_cast<float>(ratio));
    headless.Select(text);
    window.InvalidateAll();
    window.UpdateNow();
    const QImage expected = window.Screen().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(expected.size(), shown.size());
    if (expected != shown) {
        expected.save(QDir::tempPath() + QStringLiteral("/pv-expected.png"));
        shown.save(QDir::tempPath() + QStringLiteral("/pv-shown.png"));
    }
    EXPECT_TRUE(expected == shown);
}

} // namespace

// While an operation builds the document under its progress window, the view keeps its last
// frame; when the operation ends, the view shows the finished document.
TEST_F(MainViewUi, AHalfBuiltDocumentIsNotDrawnUntilTheOperationEnds) {
    bool ended = false;
    TDocumentBusy::SetEndedHandler([&] {
        ended = true;
        view->Repaint();
    });
    const QImage before = shown();
    {
        const TDocumentBusy busy;
        text->CenterX -= 40;
        clipart->CenterY -= 30;
        view->Repaint();
        port()->repaint();
        EXPECT_EQ(shown(), before);
        EXPECT_FALSE(ended);
    }
    TDocumentBusy::SetEndedHandler({});
    EXPECT_TRUE(ended);
    EXPECT_NE(shown(), before);
    EXPECT_TRUE(matchesFullRepaint());
}
