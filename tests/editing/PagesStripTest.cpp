// The pages panel without its widget: cell widths and scrolling, gaps and moves, menu states in
// every view arrangement, greying, captions, the thumbnail cache and the drops.
#include "catalogue/uDateiNeuWizzard.h"
#include "catalogue/uFotobuchPageTemplate.h"
#include "document/uFBColor.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "editing/uMulticaster.h"
#include "editing/uPagesStrip.h"
#include "editing/uTransferData.h"
#include "editing/uUndo.h"
#include "platform/Exception.h"
#include "support/CanonicalForm.h"
#include "support/FakeColorDialog.h"
#include "support/PageElements.h"
#include "support/PictureSupport.h"

#include <QMimeData>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class TRecordingStripWindow : public TPagesStripWindow {
public:
    void InvalidateAll() override { ++invalidations; }
    void ScrollStateChanged() override {}
    bool Confirm(const QString& question) override {
        questions << question;
        return answer;
    }
    void ShowStatus(const QString& text) override {
        shown << text;
        statusOpen = !text.isEmpty();
    }
    void StatusLine(const QString& text) override { statusLine = text; }

    bool answer = true;
    bool statusOpen = false;
    int invalidations = 0;
    QStringList questions, shown;
    QString statusLine;
};

// The multicaster's events as lines.
class TEventLog {
public:
    TEventLog() {
        subscription_ = Multicaster().Subscribe(
            {[this](const QObject*, TFBElement* element, TFBPage* page) {
                 lines << (element ? QStringLiteral("element %1").arg(element->IndexInList())
                                   : QStringLiteral("page %1").arg(page->PageIndex()));
             },
             [this](const QObject*, int view) { lines << QStringLiteral("view %1").arg(view); },
             [this](const QObject*) { lines << QStringLiteral("pages"); }});
    }
    QStringList lines;

private:
    TMulticaster::TSubscription subscription_;
};

class PagesStrip : public ::testing::Test {
protected:
    void SetUp() override {
        UndoManager().Clear();
        previousDialog = SetColorDialogService(&dialog);
    }
    void TearDown() override {
        SetColorDialogService(previousDialog);
        strip.reset();
        UndoManager().Clear();
        doc.Reset();
    }
    void open(int product, int pages = -1) {
        doc.Reset();
        ASSERT_TRUE(CreateProductDocument(doc, product, 2026, pages < 0 ? WizardPageCount(product) : pages));
        doc.Modified = false;
        show();
    }
    // Pages of 100 x 100 mm with one frame each, in the given arrangement.
    void plain(int screenMode, int pages) {
        doc.Reset();
        doc.ScreenMode = static_cast<uint8_t>(screenMode);
        doc.PageWidth = doc.PageHeight = 100;
        TestSupport::addPages(doc, pages);
        for (TFBPage* page : doc.Pages)
            TestSupport::placeElement<TFBPictureElement>(page, 50, 50, 80, 80);
        show();
    }
    void show(int height = 168) {
        strip = std::make_unique<TPagesStrip>(&doc, window);
        strip->Resize(800, height);
        strip->Refresh();
    }
    QString photo(const QString& name, int w, int h, int seed = 1) {
        return PictureSupport::writeFile(dir.filePath(name),
                                         PictureSupport::jpeg(PictureSupport::photo(w, h, seed)));
    }
    // A paint-box point on the frame as its thumbnail shows it.
    QPoint on(const TFBElement* frame) const {
        TTransformation t;
        strip->ThumbnailTransformation(frame->Page->ViewIndex(), t);
        const TFBPointF o = doc.PageOffset(frame->Page);
        float x = 0, y = 0;
        t.Transform(o.X + frame->CenterX, o.Y + frame->CenterY, x, y);
        return QPoint(int(x), int(y));
    }
    std::unique_ptr<QMimeData> payload(const QString& format, const QByteArray& bytes) const {
        auto data = std::make_unique<QMimeData>();
        data->setData(format, bytes);
        return data;
    }
    TDropEffect drop(const QMimeData& data, const QPoint& at, TDropEffect proposed = TDropEffect::Copy) {
        return strip->Drop(data, at.x(), at.y(), true, proposed);
    }
    void expectRefused(const QMimeData& data, const QPoint& at, bool fromThisProcess = true) {
        const QStringList before = TestSupport::canonicalForm(doc);
        const int records = UndoManager().Count();
        EXPECT_EQ(strip->CheckDrop(data, at.x(), at.y(), fromThisProcess, TDropEffect::Move),
                  TDropEffect::None);
        EXPECT_THROW(strip->Drop(data, at.x(), at.y(), fromThisProcess, TDropEffect::Move), Exception);
        EXPECT_EQ(UndoManager().Count(), records);
        EXPECT_EQ(TestSupport::canonicalForm(doc), before);
    }
    QString menuDigits(int view) const {
        const TPagesMenuState m = PagesRules::MenuState(doc, view);
        return QStringLiteral("%1%2%3").arg(int(m.InsertBefore)).arg(int(m.InsertAfter)).arg(int(m.Delete));
    }
    QImage cell(int view) {
        QImage image;
        strip->PaintCell(image, view);
        return image;
    }

    QTemporaryDir dir;
    TestSupport::TFakeColorDialog dialog;
    TColorDialogService* previousDialog = nullptr;
    TFBDocument doc;
    TRecordingStripWindow window;
    std::unique_ptr<TPagesStrip> strip;
};

TEST_F(PagesStrip, CellsFollowTheClientHeightAndTheCurrentViewIsScrolledIntoSight) {
    plain(0, 20);
    TPagesStrip fresh(&doc, window);
    EXPECT_EQ(fresh.CellWidth(), 250); // before the first resize
    fresh.Resize(500, 90);
    EXPECT_EQ(fresh.CellWidth(), 100);
    EXPECT_EQ(fresh.ScrollStep(), 16);
    fresh.Resize(500, 300);
    EXPECT_EQ(fresh.CellWidth(), 200);
    fresh.Resize(500, 168);
    EXPECT_EQ(fresh.CellWidth(), 150);
    EXPECT_EQ(fresh.ContentWidth(), 20 * 150);
    EXPECT_EQ(fresh.ScrollRange(), 20 * 150 - 500);

    // Right of the client: the cell's right edge comes to the client's right edge.
    fresh.SelectView(5);
    EXPECT_EQ(fresh.ScrollX(), 6 * 150 - 500);
    // Already in sight: no scrolling.
    fresh.SelectView(4);
    EXPECT_EQ(fresh.ScrollX(), 400);
    // Left of the client: its left edge comes to the client's left edge.
    fresh.SelectView(1);
    EXPECT_EQ(fresh.ScrollX(), 150);
    fresh.SelectView(99);
    EXPECT_EQ(fresh.CurrentView(), 19);
    EXPECT_EQ(fresh.ScrollX(), fresh.ScrollRange());
    fresh.SetScrollX(-40);
    EXPECT_EQ(fresh.ScrollX(), 0);

    // Refresh keeps the view and the scroll position while the view exists.
    fresh.SelectView(10);
    const int scroll = fresh.ScrollX();
    fresh.Refresh();
    EXPECT_EQ(fresh.CurrentView(), 10);
    EXPECT_EQ(fresh.ScrollX(), scroll);
    doc.Pages.Delete(19);
    doc.Pages.Delete(18);
    fresh.SelectView(17);
    doc.Pages.Delete(17);
    fresh.Refresh();
    EXPECT_EQ(fresh.CurrentView(), -1);
    EXPECT_EQ(fresh.ScrollX(), 0);
}

TEST_F(PagesStrip, ViewsAreDroppedOnTheGapsBetweenCells) {
    plain(0, 8);
    const int w = strip->CellWidth(); // 150; tolerance 25
    EXPECT_EQ(strip->GapAt(-300), 0);
    EXPECT_EQ(strip->GapAt(25), 0);
    EXPECT_EQ(strip->GapAt(26), -1);
    EXPECT_EQ(strip->GapAt(3 * w - 25), 3);
    EXPECT_EQ(strip->GapAt(3 * w + 25), 3);
    EXPECT_EQ(strip->GapAt(3 * w + 26), -1);
    EXPECT_EQ(strip->GapAt(8 * w - 25), 8);
    EXPECT_EQ(strip->GapAt(8 * w + 900), 8);

    // View 2 next to itself stays; on gap 5 it becomes view 4.
    EXPECT_EQ(PagesRules::MoveDestination(doc, 2, 2), -1);
    EXPECT_EQ(PagesRules::MoveDestination(doc, 2, 3), -1);
    EXPECT_EQ(PagesRules::MoveDestination(doc, 2, 5), 4);
    EXPECT_EQ(PagesRules::MoveDestination(doc, 5, 0), 0);
    EXPECT_EQ(PagesRules::MoveDestination(doc, 0, 8), 7);
    EXPECT_EQ(PagesRules::MoveDestination(doc, 2, 9), -1);

    TFBPage* moved = doc.Pages.Items(2);
    TEventLog log;
    const auto data = payload(TransferFormat::View, Transfer::ViewBytes(2));
    expectRefused(*data, {3 * w, 50});
    EXPECT_EQ(strip->CheckDrop(*data, 5 * w + 3, 50, true, TDropEffect::Copy), TDropEffect::Move);
    EXPECT_EQ(strip->DropGap(), 5);
    EXPECT_EQ(drop(*data, {5 * w + 3, 50}), TDropEffect::Move);
    EXPECT_EQ(strip->DropGap(), -3);
    EXPECT_EQ(doc.Pages.IndexOf(moved), 4);
    EXPECT_EQ(strip->CurrentView(), 4);
    EXPECT_EQ(UndoManager().Count(), 1);
    EXPECT_TRUE(doc.Modified);
    EXPECT_EQ(log.lines,
              (QStringList{QStringLiteral("pages"), QStringLiteral("view 4"), QStringLiteral("page 4")}));
    // From another program, or naming no view: refused.
    expectRefused(*data, {1 * w, 50}, false);
    expectRefused(*payload(TransferFormat::View, "zwei"), {1 * w, 50});
    expectRefused(*payload(TransferFormat::View, "8"), {1 * w, 50});
}

TEST_F(PagesStrip, GapsAndMenusFollowTheViewArrangement) {
    // Page by page: every view moves to every other gap; delete needs a second page.
    plain(0, 3);
    EXPECT_TRUE(PagesRules::CanMoveView(doc, 0));
    EXPECT_EQ(PagesRules::MoveDestination(doc, 0, 3), 2);
    EXPECT_EQ(menuDigits(0), QStringLiteral("111"));
    EXPECT_EQ(PagesRules::MenuState(doc, 0).DeleteKey, QStringLiteral("Seite löschen"));
    EXPECT_EQ(menuDigits(3), QStringLiteral("000")); // right of the last cell
    plain(0, 1);
    EXPECT_EQ(menuDigits(0), QStringLiteral("110"));

    // A book: the covers are fixed, and no view goes before the first or after the last.
    plain(1, 8); // views: 0 | 1-2 | 3-4 | 5-6 | 7
    ASSERT_EQ(doc.ViewCount(), 5);
    EXPECT_FALSE(PagesRules::CanMoveView(doc, 0));
    EXPECT_FALSE(PagesRules::CanMoveView(doc, 4));
    EXPECT_TRUE(PagesRules::CanMoveView(doc, 1));
    EXPECT_EQ(PagesRules::MoveDestination(doc, 1, 0), -1);
    EXPECT_EQ(PagesRules::MoveDestination(doc, 3, 5), -1);
    EXPECT_EQ(PagesRules::MoveDestination(doc, 1, 4), 3);
    EXPECT_EQ(PagesRules::MoveDestination(doc, 3, 1), 1);
    EXPECT_EQ(menuDigits(0), QStringLiteral("000"));
    EXPECT_EQ(menuDigits(2), QStringLiteral("111"));
    EXPECT_EQ(menuDigits(4), QStringLiteral("000"));
    const TPagesMenuState book = PagesRules::MenuState(doc, 2);
    EXPECT_EQ(book.InsertBeforeKey, QStringLiteral("Doppelseite davor einfügen"));
    EXPECT_EQ(book.InsertAfterKey, QStringLiteral("Doppelseite dahinter einfügen"));
    EXPECT_EQ(book.DeleteKey, QStringLiteral("Doppelseite löschen"));
    EXPECT_EQ(PagesRules::DeleteQuestion(doc),
              QStringLiteral("Soll die Doppelseite wirklich gelöscht werden?"));

    // Spreads throughout: every view moves, but the menu spares the first and last.
    plain(2, 6);
    EXPECT_TRUE(PagesRules::CanMoveView(doc, 0));
    EXPECT_EQ(PagesRules::MoveDestination(doc, 2, 0), 0);
    EXPECT_EQ(menuDigits(0), QStringLiteral("000"));
    EXPECT_EQ(menuDigits(1), QStringLiteral("111"));

    // Calendars: nothing moves, the menu is off.
    open(61);
    for (int v : {0, 5, 12}) {
        EXPECT_FALSE(PagesRules::CanMoveView(doc, v));
        EXPECT_EQ(menuDigits(v), QStringLiteral("000"));
    }
    EXPECT_EQ(strip->DragAt(strip->LabelRect(3).center().x(), strip->LabelRect(3).center().y()),
              TStripDrag::None);
    EXPECT_THROW(PagesRules::InsertViewAfter(doc, 3), Exception);
    EXPECT_THROW(PagesRules::MoveViewToGap(doc, 3, 6), Exception);
    EXPECT_EQ(UndoManager().Count(), 0);
}

TEST_F(PagesStrip, CalendarViewsAreNamedByMonth) {
    open(61);
    ASSERT_EQ(doc.ViewCount(), 13);
    EXPECT_EQ(doc.ViewCaption(0), QStringLiteral("Januar"));
    EXPECT_EQ(doc.ViewCaption(11), QStringLiteral("Dezember"));
    EXPECT_EQ(doc.ViewCaption(12), QStringLiteral("Titelseite"));
    // A page without calendar takes the month after its index; the first calendar names its page.
    doc.Pages.Items(4)->Calendars.Clear();
    EXPECT_EQ(doc.ViewCaption(4), QStringLiteral("Mai"));
    doc.Pages.Items(12)->Calendars.Clear();
    EXPECT_EQ(doc.ViewCaption(12), QStringLiteral("Titelseite"));
    plain(1, 5);
    EXPECT_EQ(doc.ViewCaption(0), QStringLiteral("Seite 1"));
    EXPECT_EQ(doc.ViewCaption(1), QStringLiteral("Seite 2 - 3"));
    EXPECT_EQ(doc.ViewCaption(2), QStringLiteral("Seite 4 - 5"));
}

TEST_F(PagesStrip, ViewsAfterTheLastPageWithContentLieOnGrey) {
    plain(1, 10); // views: 0 | 1-2 | 3-4 | 5-6 | 7-8 | 9
    const auto greying = [&](int last) {
        QList<TCellGreying> g;
        for (int v = 0; v < doc.ViewCount(); ++v)
            g << PagesRules::Greying(doc, last, v);
        return g;
    };
    using G = TCellGreying;
    EXPECT_EQ(greying(-1), (QList<G>{G::None, G::None, G::None, G::None, G::None, G::None}));
    // Page 4 is a right page: view 3 (pages 5 and 6) is half grey, page 6 onwards on grey.
    EXPECT_EQ(greying(4), (QList<G>{G::None, G::None, G::None, G::RightHalf, G::Whole, G::Whole}));
    // Page 3 is a left page: its own view is half grey.
    EXPECT_EQ(greying(3), (QList<G>{G::None, G::None, G::RightHalf, G::Whole, G::Whole, G::Whole}));
    // The first page counts as a right page.
    EXPECT_EQ(greying(0), (QList<G>{G::None, G::RightHalf, G::Whole, G::Whole, G::Whole, G::Whole}));
    doc.SetViewOrientation(3, 1);
    EXPECT_EQ(PagesRules::Greying(doc, 4, 3), G::LowerHalf);
    // Only a book with a lone first page greys.
    doc.ScreenMode = 2;
    EXPECT_EQ(PagesRules::Greying(doc, 4, 4), G::None);

    // Painted: the right half from the thumbnail's middle on, with the red line.
    doc.ScreenMode = 1;
    doc.SetViewOrientation(3, 0);
    doc.Pages.Items(4)->Picture(0)->SetColorFill(0x00FF00);
    strip->Refresh();
    const int w = strip->CellWidth(), h = strip->ClientHeight();
    QImage half = cell(3);
    EXPECT_EQ(half.pixel(w / 2, 2), qRgb(0xFF, 0, 0));
    EXPECT_EQ(half.pixel(w / 2 + 1, 2), qRgb(0xF5, 0xF5, 0xF5));
    EXPECT_EQ(half.pixel(w / 2 - 2, 2), qRgb(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(cell(4).pixel(2, 2), qRgb(0xF5, 0xF5, 0xF5));
    EXPECT_EQ(cell(2).pixel(w - 3, h - 3), qRgb(0xFF, 0xFF, 0xFF));
    // Turned: the lower half, red along the middle, down the left edge and up the last column.
    doc.SetViewOrientation(3, 1);
    strip->Refresh();
    const QImage turned = cell(3);
    const int mid = (h - 20) / 2;
    EXPECT_EQ(turned.pixel(3, 3), qRgb(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(turned.pixel(3, mid), qRgb(0xFF, 0, 0));
    EXPECT_EQ(turned.pixel(3, mid + 1), qRgb(0xF5, 0xF5, 0xF5));
    EXPECT_EQ(turned.pixel(0, h - 2), qRgb(0xFF, 0, 0));
    EXPECT_EQ(turned.pixel(w - 1, 1), qRgb(0xFF, 0, 0));
    EXPECT_EQ(turned.pixel(w - 1, mid + 5), qRgb(0xF5, 0xF5, 0xF5));
}

TEST_F(PagesStrip, FinishedThumbnailsAreKeptUntilTheirPagesChange) {
    plain(0, 6);
    doc.Pages.Items(1)->Picture(0)->SetColorFill(0x0000FF);
    strip->Refresh();
    const QImage fresh = cell(1);
    EXPECT_EQ(strip->CachedThumbnails(), 1);
    int drawn = 0;
    strip->OnDrawThumbnail = [&](int) { ++drawn; };
    EXPECT_EQ(cell(1), fresh);
    EXPECT_EQ(drawn, 0);
    // The frame and the label are painted over a kept thumbnail.
    strip->ShowView(1);
    const QImage current = cell(1);
    EXPECT_EQ(drawn, 0);
    EXPECT_NE(current, fresh);
    EXPECT_EQ(current.pixel(4, 60), qRgb(0x80, 0x80, 0x80));

    // An event naming another page keeps it; one naming its page paints it anew.
    cell(2);
    drawn = 0;
    strip->ElementChanged(doc.Pages.Items(2)->Picture(0), nullptr);
    cell(1);
    EXPECT_EQ(drawn, 0);
    doc.Pages.Items(1)->Picture(0)->SetColorFill(0x00FF00);
    strip->ElementChanged(doc.Pages.Items(1)->Picture(0), nullptr);
    const QImage green = cell(1);
    EXPECT_EQ(drawn, 1);
    EXPECT_NE(green, current);
    // Refresh, undo and a new cell width throw everything away.
    strip->Refresh();
    EXPECT_EQ(strip->CachedThumbnails(), 0);
    cell(1);
    strip->DocumentRestored();
    EXPECT_EQ(strip->CachedThumbnails(), 0);
    cell(1);
    strip->Resize(800, 120);
    EXPECT_EQ(strip->CachedThumbnails(), 0);

    // A thumbnail that raises leaves the rest of its cell.
    strip->OnDrawThumbnail = [](int) { throw Exception(QStringLiteral("kaputt")); };
    const QImage broken = cell(3);
    const QRect label = strip->LabelRect(3).translated(-3 * strip->CellWidth(), 0);
    EXPECT_EQ(broken.pixel(label.left(), label.center().y()), qRgb(0x80, 0x80, 0x80));
    EXPECT_EQ(broken.pixel(label.left() + 2, label.top() + 2), qRgb(0xFF, 0xFF, 0xFF));
    bool dark = false;
    for (int x = label.left() + 1; x < label.right(); ++x)
        dark = dark || qGray(broken.pixel(x, label.center().y())) < 100;
    EXPECT_TRUE(dark) << "the caption is written";
}

TEST_F(PagesStrip, InsertsAndDeletesAreRecordedAndAnnounced) {
    open(31); // a book shown as spreads
    const int views = doc.ViewCount();
    TEventLog log;
    strip->ShowView(4);
    strip->MouseDown(strip->CellRect(4).center().x());
    EXPECT_EQ(strip->Menu().DeleteCaption, QStringLiteral("Doppelseite löschen"));
    TFBPage* left = doc.LeftPage(4);
    TFBPage* right = doc.RightPage(4);
    const QStringList before = TestSupport::canonicalForm(doc);

    window.answer = false;
    strip->Run(TStripCommand::Delete);
    EXPECT_EQ(window.questions,
              QStringList{QStringLiteral("Soll die Doppelseite wirklich gelöscht werden?")});
    EXPECT_EQ(TestSupport::canonicalForm(doc), before);
    EXPECT_EQ(UndoManager().Count(), 0);

    window.answer = true;
    strip->Run(TStripCommand::Delete);
    EXPECT_EQ(doc.ViewCount(), views - 1);
    EXPECT_EQ(doc.Pages.IndexOf(left), -1);
    EXPECT_EQ(doc.Pages.IndexOf(right), -1);
    EXPECT_EQ(UndoManager().Count(), 1);
    EXPECT_EQ(log.lines, (QStringList{QStringLiteral("pages"), QStringLiteral("view 4")}));

    // Inserting after view 2 makes view 3 current with the layout of view 2.
    log.lines.clear();
    strip->MouseDown(strip->CellRect(2).center().x());
    strip->Run(TStripCommand::InsertAfter);
    EXPECT_EQ(doc.ViewCount(), views);
    EXPECT_EQ(strip->CurrentView(), 3);
    EXPECT_EQ(doc.LeftPage(3)->Pictures.Count(), doc.LeftPage(2)->Pictures.Count());
    EXPECT_EQ(log.lines, (QStringList{QStringLiteral("pages"), QStringLiteral("view 3")}));
    strip->Run(TStripCommand::InsertBefore);
    EXPECT_EQ(strip->CurrentView(), 2);
    EXPECT_EQ(UndoManager().Count(), 3);

    // Deleting the last current view in pages shown one by one leaves the new last one current.
    plain(0, 4);
    strip->SelectView(3);
    log.lines.clear();
    strip->MouseDown(strip->CellRect(3).center().x());
    strip->Run(TStripCommand::Delete);
    EXPECT_EQ(window.questions.last(), QStringLiteral("Soll die Seite wirklich gelöscht werden?"));
    EXPECT_EQ(strip->CurrentView(), 2);
    EXPECT_EQ(log.lines, (QStringList{QStringLiteral("pages"), QStringLiteral("view 2")}));
}

TEST_F(PagesStrip, PicturesColoursFilesAndLayoutsAreDroppedOntoTheThumbnails) {
    open(31);
    TFBPictureElement* first = doc.Pages.Items(1)->Picture(0);
    TFBPictureElement* second = first->NextPictureElement();
    TFBPictureElement* third = second->NextPictureElement();
    TFBPictureElement* fourth = third->NextPictureElement();
    ASSERT_NE(fourth, nullptr);
    const QString wide = photo(QStringLiteral("breit.jpg"), 80, 40, 1);
    const QString tall = photo(QStringLiteral("hoch.jpg"), 40, 80, 2);
    const QString square = photo(QStringLiteral("quadrat.jpg"), 60, 60, 3);
    TEventLog log;

    // Three files onto page 1's first frame fill three frames, one record each, and the progress
    // window is closed again.
    auto files = std::make_unique<QMimeData>();
    Transfer::PutFileList(*files, {wide, tall, square});
    EXPECT_EQ(strip->CheckDrop(*files, on(first).x(), on(first).y(), false, TDropEffect::Move),
              TDropEffect::Copy);
    EXPECT_EQ(drop(*files, on(first), TDropEffect::Move), TDropEffect::Copy);
    EXPECT_EQ(UndoManager().Count(), 3);
    EXPECT_EQ(TBildmanager::Instance().Find(third->RefIndex)->FileName, square);
    EXPECT_FALSE(fourth->HasPicture());
    EXPECT_EQ(window.shown, (QStringList{QStringLiteral("Bild 1 von 3 wird geladen"),
                                         QStringLiteral("Bild 2 von 3 wird geladen"),
                                         QStringLiteral("Bild 3 von 3 wird geladen"), QString()}));
    EXPECT_FALSE(window.statusOpen);
    EXPECT_EQ(log.lines.size(), 3);

    // A picture dragged with the copy effect is copied; with the move effect the two swap.
    log.lines.clear();
    const auto pic = payload(TransferFormat::Pic, Transfer::PicBytes(doc, *first));
    EXPECT_EQ(drop(*pic, on(fourth), TDropEffect::Copy), TDropEffect::Copy);
    ASSERT_TRUE(fourth->HasPicture());
    EXPECT_EQ(TBildmanager::Instance().Find(fourth->RefIndex)->FileName, wide);
    const int secondPicture = second->RefIndex;
    const int firstPicture = first->RefIndex;
    EXPECT_EQ(drop(*pic, on(second), TDropEffect::Move), TDropEffect::Move);
    EXPECT_EQ(second->RefIndex, firstPicture);
    EXPECT_EQ(first->RefIndex, secondPicture);
    EXPECT_EQ(UndoManager().Count(), 5);
    EXPECT_EQ(log.lines.size(), 3);        // the copy's target, then the swap's source and target
    expectRefused(*pic, on(first));        // onto itself
    expectRefused(*pic, on(third), false); // from another program
    expectRefused(*payload(TransferFormat::Pic, "9999"), on(third));

    // A colour fills the frame; "Eigene Farbe" asks, and a cancelled pick changes nothing.
    const auto rot =
        payload(TransferFormat::Color, Transfer::ColorBytes(TFBColor(QStringLiteral("rot"), 0x0000FF)));
    EXPECT_EQ(drop(*rot, on(fourth)), TDropEffect::Copy);
    EXPECT_FALSE(fourth->CanZoomAndTrack);
    EXPECT_EQ(UndoManager().Count(), 6);
    const auto own =
        payload(TransferFormat::Color, Transfer::ColorBytes(TFBColor(QStringLiteral("Eigene Farbe"), -1)));
    const QStringList before = TestSupport::canonicalForm(doc);
    dialog.pick = false;
    EXPECT_EQ(drop(*own, on(third)), TDropEffect::None);
    EXPECT_EQ(UndoManager().Count(), 6);
    EXPECT_EQ(TestSupport::canonicalForm(doc), before);
    dialog.pick = true;
    dialog.picked = 0x123456;
    drop(*own, on(third));
    EXPECT_EQ(UndoManager().Count(), 7);
    expectRefused(*payload(TransferFormat::Color, "kaputt"), on(third));

    // A layout goes onto the page under the mouse, the page view letting go first.
    const TFBPageTemplate* layout = FindPageTemplate(QStringLiteral("Horizon1"));
    ASSERT_NE(layout, nullptr);
    TFBPage* replaced = nullptr;
    strip->OnReplacingPage = [&](TFBPage* page) { replaced = page; };
    log.lines.clear();
    const auto layoutData = payload(TransferFormat::PageTemplate, Transfer::TemplateBytes(*layout));
    TFBPage* page3 = doc.Pages.Items(3);
    const QPoint onPage3 = on(page3->Picture(0));
    EXPECT_EQ(drop(*layoutData, onPage3), TDropEffect::Copy);
    EXPECT_EQ(replaced, page3);
    EXPECT_EQ(UndoManager().Count(), 8);
    EXPECT_EQ(log.lines, QStringList{QStringLiteral("page 3")});
    QByteArray damaged = Transfer::TemplateBytes(*layout);
    damaged.chop(3);
    expectRefused(*payload(TransferFormat::PageTemplate, damaged), onPage3);

    // Beside the pages and frames, and between cells: nothing.
    const QRect label = strip->LabelRect(2);
    expectRefused(*files, label.center());
    expectRefused(*layoutData, {strip->CellRect(2).left() + 2, 5});
    expectRefused(*payload(QStringLiteral("text/plain"), "Hallo"), on(first));
}

} // namespace
