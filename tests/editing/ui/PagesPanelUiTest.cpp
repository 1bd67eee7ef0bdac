// The pages panel widget: the context menu with its question, keys, drops through synthetic drag
// events, and screenshots of the strip (build/screenshots).
#include "catalogue/uDateiNeuWizzard.h"
#include "catalogue/uFotobuchPageTemplate.h"
#include "document/uFBColor.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "editing/uMulticaster.h"
#include "editing/uTransferData.h"
#include "editing/uUndo.h"
#include "editing/ui/uSubformSeiten.h"
#include "platform/uInfoausgabe.h"
#include "support/CanonicalForm.h"
#include "support/GuiTest.h"
#include "support/PictureSupport.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QString screenshotPath(const QString& name) {
    QDir dir(QFileInfo(QStringLiteral(TINTARO_CLI_PATH)).absolutePath() + QStringLiteral("/../screenshots"));
    dir.mkpath(QStringLiteral("."));
    return dir.absoluteFilePath(name);
}

// The progress window as the main window shows it: open while a text is shown.
class TProgressRecorder : public TInfoTarget {
public:
    void SetStatusText(const QString& text) override { status = text; }
    void ShowProgress(const QString& text) override {
        open = true;
        texts << text;
    }
    void HideProgress() override { open = false; }
    bool open = false;
    QStringList texts;
    QString status;
};

class PagesPanelUi : public TestSupport::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        for (int i = 0; i < 3; ++i)
            photos << PictureSupport::writeFile(
                dir.filePath(QStringLiteral("foto%1.jpg").arg(i)),
                PictureSupport::jpeg(PictureSupport::photo(120, 80, quint32(i + 1))));
        InfoAusgabe().SetTarget(&progress);
        subscription =
            Multicaster().Subscribe({{}, [this](const QObject*, int view) { announced << view; }, {}});
    }
    void TearDown() override {
        InfoAusgabe().SetTarget(nullptr);
        panel.reset();
        doc.Reset();
        GuiTest::TearDown();
    }
    void open(int product, int pages = -1) {
        panel.reset();
        doc.Reset();
        ASSERT_TRUE(CreateProductDocument(doc, product, 2026, pages < 0 ? WizardPageCount(product) : pages));
        show();
    }
    void show(int width = 1000, int height = 190) {
        panel = std::make_unique<TSFormSeiten>(nullptr, &doc);
        panel->AskYesNo = [this](const QString& question) {
            questions << question;
            return answer;
        };
        panel->resize(width, height);
        panel->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
        panel->Refresh();
        QTest::qWait(0);
    }
    // A client point on the frame as its thumbnail shows it.
    QPoint on(const TFBElement* frame) {
        TTransformation t;
        panel->Core().ThumbnailTransformation(frame->Page->ViewIndex(), t);
        const TFBPointF o = doc.PageOffset(frame->Page);
        float x = 0, y = 0;
        t.Transform(o.X + frame->CenterX, o.Y + frame->CenterY, x, y);
        return QPoint(int(x) - panel->Core().ScrollX(), int(y));
    }
    QPoint labelOf(int view) {
        return panel->Core().LabelRect(view).center() - QPoint(panel->Core().ScrollX(), 0);
    }
    // Enters, moves and drops as a drag would; returns the drop's action (ignore when refused).
    Qt::DropAction dragAndDrop(const QMimeData& data, const QPoint& p, Qt::DropAction proposed) {
        QDragEnterEvent enter(p, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        enter.setDropAction(proposed);
        QApplication::sendEvent(panel->viewport(), &enter);
        if (!enter.isAccepted())
            return Qt::IgnoreAction;
        QDropEvent drop(QPointF(p), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        drop.setDropAction(proposed);
        QApplication::sendEvent(panel->viewport(), &drop);
        return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
    }
    // A right click on the view; the menu that opens is read and the named entry chosen (none:
    // closed).
    QStringList rightClick(int view, const char* choose) {
        QStringList captions;
        QTimer::singleShot(50, [&] {
            QMenu* menu = panel->ContextMenu();
            for (QAction* action : menu->actions())
                if (!action->isSeparator())
                    captions << action->text() + (action->isEnabled() ? QString() : QStringLiteral(" (aus)"));
            QAction* chosen = choose ? menu->findChild<QAction*>(QString::fromLatin1(choose)) : nullptr;
            if (!chosen)
                for (QAction* action : menu->actions())
                    if (action->objectName() == QLatin1String(choose ? choose : ""))
                        chosen = action;
            menu->close();
            if (chosen)
                chosen->trigger();
        });
        const QPoint p = panel->Core().CellRect(view).center() - QPoint(panel->Core().ScrollX(), 0);
        QTest::mousePress(panel->viewport(), Qt::RightButton, Qt::NoModifier, p);
        QTest::mouseRelease(panel->viewport(), Qt::RightButton, Qt::NoModifier, p);
        return captions;
    }
    QImage shoot(const char* name) {
        QTest::qWait(0);
        const QImage shot = panel->grab().toImage();
        EXPECT_TRUE(shot.save(screenshotPath(QString::fromLatin1(name))));
        return shot;
    }
    void fillPhotos(int firstPage, int lastPage) {
        for (int p = firstPage; p <= lastPage; ++p)
            for (int i = 0; i < doc.Pages.Items(p)->Pictures.Count(); ++i)
                doc.Pages.Items(p)->Picture(i)->SetPictureFile(photos[(p + i) % photos.size()]);
    }

    QTemporaryDir dir;
    QStringList photos;
    TProgressRecorder progress;
    TFBDocument doc;
    std::unique_ptr<TSFormSeiten> panel;
    TMulticaster::TSubscription subscription;
    QList<int> announced;
    QStringList questions;
    bool answer = true;
};

TEST_F(PagesPanelUi, DeletingADoublePageAsksAndUndoBringsBothPagesBack) {
    open(31);
    fillPhotos(7, 8); // view 4
    const QStringList before = TestSupport::canonicalForm(doc);
    const int views = doc.ViewCount();

    answer = false;
    const QStringList captions = rightClick(4, "mnuSeiteloeschen");
    EXPECT_EQ(captions, (QStringList{QStringLiteral("Doppelseite davor einfügen"),
                                     QStringLiteral("Doppelseite dahinter einfügen"),
                                     QStringLiteral("Doppelseite löschen")}));
    EXPECT_EQ(questions, QStringList{QStringLiteral("Soll die Doppelseite wirklich gelöscht werden?")});
    EXPECT_EQ(TestSupport::canonicalForm(doc), before);
    EXPECT_EQ(UndoManager().Count(), 0);

    answer = true;
    rightClick(4, "mnuSeiteloeschen");
    EXPECT_EQ(doc.ViewCount(), views - 1);
    EXPECT_EQ(panel->ShownViews(), views - 1);
    EXPECT_EQ(UndoManager().Count(), 1);
    UndoManager().Undo(doc);
    EXPECT_EQ(TestSupport::canonicalForm(doc), before);
    EXPECT_TRUE(doc.Pages.Items(7)->Picture(0)->HasPicture());
    EXPECT_TRUE(doc.Pages.Items(8)->Picture(0)->HasPicture());

    // The covers offer nothing.
    EXPECT_EQ(rightClick(0, nullptr), (QStringList{QStringLiteral("Doppelseite davor einfügen (aus)"),
                                                   QStringLiteral("Doppelseite dahinter einfügen (aus)"),
                                                   QStringLiteral("Doppelseite löschen (aus)")}));
}

TEST_F(PagesPanelUi, InsertsAreUndoneAndTheKeysWalkTheViews) {
    open(21, 4); // prints, one page a view
    const QStringList before = TestSupport::canonicalForm(doc);
    EXPECT_EQ(rightClick(1, "mnuSeiteNachAktuellerEinfuegen"),
              (QStringList{QStringLiteral("Seite davor einfügen"), QStringLiteral("Seite dahinter einfügen"),
                           QStringLiteral("Seite löschen")}));
    EXPECT_EQ(doc.ViewCount(), 5);
    EXPECT_EQ(panel->CurrentView(), 2);
    rightClick(0, "mnuSeiteVorAktuellerEinfuegen");
    EXPECT_EQ(doc.ViewCount(), 6);
    EXPECT_EQ(panel->CurrentView(), 0);
    EXPECT_EQ(UndoManager().Count(), 2);
    UndoManager().Undo(doc);
    UndoManager().Undo(doc);
    EXPECT_EQ(TestSupport::canonicalForm(doc), before);
    panel->DocumentRestored();
    EXPECT_EQ(panel->ShownViews(), 4);

    announced.clear();
    panel->setFocus();
    QTest::keyClick(panel.get(), Qt::Key_End);
    QTest::keyClick(panel.get(), Qt::Key_Left);
    QTest::keyClick(panel.get(), Qt::Key_Home);
    QTest::keyClick(panel.get(), Qt::Key_Right);
    QTest::keyClick(panel.get(), Qt::Key_Right);
    EXPECT_EQ(announced, (QList<int>{3, 2, 0, 1, 2}));
    EXPECT_EQ(panel->CurrentView(), 2);
    // The Menu key and Shift+F10 open the menu for the current view.
    for (const auto& [key, modifiers] : {std::pair{Qt::Key_Menu, Qt::KeyboardModifiers(Qt::NoModifier)},
                                         std::pair{Qt::Key_F10, Qt::KeyboardModifiers(Qt::ShiftModifier)}}) {
        bool opened = false;
        QTimer::singleShot(50, [&] {
            opened = panel->ContextMenu()->isVisible();
            panel->ContextMenu()->close();
        });
        QTest::keyClick(panel.get(), key, modifiers);
        QTest::qWait(100);
        EXPECT_TRUE(opened) << key;
        EXPECT_EQ(panel->Core().MouseDownView(), 2);
    }
    // A click on a cell picks it.
    QTest::mouseClick(panel->viewport(), Qt::LeftButton, Qt::NoModifier, panel->Core().CellRect(3).center());
    EXPECT_EQ(panel->CurrentView(), 3);
}

TEST_F(PagesPanelUi, ThreeFilesOntoAFrameFillThreeFramesAndCloseTheProgressWindow) {
    open(31);
    TFBPictureElement* first = doc.Pages.Items(1)->Picture(0);
    QMimeData files;
    Transfer::PutFileList(files, photos);
    EXPECT_EQ(dragAndDrop(files, on(first), Qt::MoveAction), Qt::CopyAction);
    EXPECT_EQ(UndoManager().Count(), 3);
    TFBPictureElement* f = first;
    for (const QString& path : photos) {
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(TBildmanager::Instance().Find(f->RefIndex)->FileName, path);
        f = f->NextPictureElement();
    }
    EXPECT_EQ(progress.texts.mid(0, 3), (QStringList{QStringLiteral("Bild 1 von 3 wird geladen"),
                                                     QStringLiteral("Bild 2 von 3 wird geladen"),
                                                     QStringLiteral("Bild 3 von 3 wird geladen")}));
    EXPECT_FALSE(progress.open) << "the progress window is closed again";
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    shoot("pages-files-dropped.png");
}

TEST_F(PagesPanelUi, ColoursLayoutsAndPicturesAreDroppedAndRefusalsChangeNothing) {
    open(31);
    TFBPictureElement* first = doc.Pages.Items(1)->Picture(0);
    TFBPictureElement* second = first->NextPictureElement();
    TFBPictureElement* third = second->NextPictureElement();
    first->SetPictureFile(photos[0]);
    second->SetPictureFile(photos[1]);

    QMimeData colour;
    colour.setData(TransferFormat::Color, Transfer::ColorBytes(TFBColor(QStringLiteral("rot"), 0x0000FF)));
    EXPECT_EQ(dragAndDrop(colour, on(third), Qt::CopyAction), Qt::CopyAction);
    EXPECT_TRUE(third->HasPicture());
    EXPECT_FALSE(third->CanZoomAndTrack);

    // Another program's picture: no drop (synthetic events come from no drag of this program).
    QMimeData pic;
    pic.setData(TransferFormat::Pic, Transfer::PicBytes(doc, *first));
    TFBPictureElement* fourth = third->NextPictureElement();
    ASSERT_NE(fourth, nullptr);
    EXPECT_EQ(dragAndDrop(pic, on(fourth), Qt::CopyAction), Qt::IgnoreAction);
    EXPECT_FALSE(fourth->HasPicture());
    // From this program, at the widget's places: a copy, then a swap.
    const QPoint at4 = on(fourth);
    EXPECT_EQ(panel->Core().Drop(pic, at4.x() + panel->Core().ScrollX(), at4.y(), true, TDropEffect::Copy),
              TDropEffect::Copy);
    EXPECT_EQ(TBildmanager::Instance().Find(fourth->RefIndex)->FileName, photos[0]);
    const QPoint at2 = on(second);
    EXPECT_EQ(panel->Core().Drop(pic, at2.x() + panel->Core().ScrollX(), at2.y(), true, TDropEffect::Move),
              TDropEffect::Move);
    EXPECT_EQ(TBildmanager::Instance().Find(first->RefIndex)->FileName, photos[1]);
    EXPECT_EQ(TBildmanager::Instance().Find(second->RefIndex)->FileName, photos[0]);

    const QStringList before = TestSupport::canonicalForm(doc);
    const int records = UndoManager().Count();
    // Damaged layouts and colours, a view from nowhere, plain text: refused, nothing changed.
    QMimeData damaged;
    damaged.setData(TransferFormat::PageTemplate, "kaputt");
    EXPECT_EQ(dragAndDrop(damaged, on(first), Qt::CopyAction), Qt::IgnoreAction);
    QMimeData badColour;
    badColour.setData(TransferFormat::Color, "kaputt");
    EXPECT_EQ(dragAndDrop(badColour, on(first), Qt::CopyAction), Qt::IgnoreAction);
    QMimeData view;
    view.setData(TransferFormat::View, "2");
    EXPECT_EQ(dragAndDrop(view, labelOf(4), Qt::MoveAction), Qt::IgnoreAction) << "not from this program";
    QMimeData text;
    text.setText(QStringLiteral("Hallo"));
    EXPECT_EQ(dragAndDrop(text, on(first), Qt::CopyAction), Qt::IgnoreAction);
    EXPECT_EQ(TestSupport::canonicalForm(doc), before);
    EXPECT_EQ(UndoManager().Count(), records);

    // A layout onto a page.
    const TFBPageTemplate* layout = FindPageTemplate(QStringLiteral("Horizon1"));
    ASSERT_NE(layout, nullptr);
    QMimeData layoutData;
    layoutData.setData(TransferFormat::PageTemplate, Transfer::TemplateBytes(*layout));
    TFBPage* page3 = doc.Pages.Items(3);
    EXPECT_EQ(dragAndDrop(layoutData, on(page3->Picture(0)), Qt::CopyAction), Qt::CopyAction);
    EXPECT_EQ(UndoManager().Count(), records + 1);
}

TEST_F(PagesPanelUi, ScreenshotsOfBooksCalendarsTurnedPagesAndCellSizes) {
    open(31);
    fillPhotos(0, 4);
    panel->SelectView(1);
    shoot("pages-book.png");
    EXPECT_EQ(panel->Core().CellWidth(), std::clamp(panel->viewport()->height() - 18, 100, 200));

    // 100- and 200-pixel cells.
    panel->resize(900, 100);
    QTest::qWait(0);
    EXPECT_EQ(panel->Core().CellWidth(), 100);
    shoot("pages-cells-100.png");
    panel->resize(1400, 260);
    QTest::qWait(0);
    EXPECT_EQ(panel->Core().CellWidth(), 200);
    shoot("pages-cells-200.png");

    // The drop marker at gap 3 while a view is dragged over it.
    panel->resize(1000, 190);
    QTest::qWait(0);
    QMimeData view;
    view.setData(TransferFormat::View, Transfer::ViewBytes(1));
    const int w = panel->Core().CellWidth();
    EXPECT_NE(panel->Core().CheckDrop(view, 3 * w, 60, true, TDropEffect::Move), TDropEffect::None);
    EXPECT_EQ(panel->Core().DropGap(), 3);
    const QImage marker = shoot("pages-drop-marker.png");
    EXPECT_EQ(marker.pixelColor(3 * w - panel->Core().ScrollX(), 60), QColor(0, 0, 0x80));
    panel->Core().HideDropMarker();

    // Turned pages.
    open(21, 6);
    // Pages 1 and 2 turned the other way than the rest.
    for (int p : {1, 2})
        doc.Pages.Items(p)->Seitenausrichtung = doc.Pages.Items(p)->Seitenausrichtung == 0 ? 1 : 0;
    fillPhotos(0, 3);
    panel->Refresh();
    shoot("pages-turned.png");

    open(61);
    panel->SelectView(2);
    shoot("pages-calendar.png");
}

} // namespace
