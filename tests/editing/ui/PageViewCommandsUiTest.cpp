// The page view widget around its commands: drag and drop events, the system clipboard, the
// context menu built from the commands' menu, the status panel. Screenshots go to
// build/screenshots.
#include "catalogue/uDateiNeuWizzard.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "editing/uClipboard.h"
#include "editing/uPageViewUndo.h"
#include "editing/uTransferData.h"
#include "editing/uUndo.h"
#include "editing/ui/uFotobuchMainview.h"
#include "editing/ui/uPageViewCommandHost.h"
#include "support/GuiTest.h"
#include "support/PictureSupport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

QString screenshotPath(const QString& name) {
    QDir dir(QFileInfo(QStringLiteral(TINTARO_CLI_PATH)).absolutePath() + QStringLiteral("/../screenshots"));
    dir.mkpath(QStringLiteral("."));
    return dir.absoluteFilePath(name);
}

class PageViewCommandsUi : public TestSupport::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        for (int i = 0; i < 3; ++i)
            photos << PictureSupport::writeFile(
                dir.filePath(QStringLiteral("foto%1.jpg").arg(i)),
                PictureSupport::jpeg(PictureSupport::photo(120, 80, quint32(i + 1))));
        doc.Reset();
        ASSERT_TRUE(CreateProductDocument(doc, 31, 2026, WizardPageCount(31)));
        view = std::make_unique<TFBMainView>(nullptr, &doc);
        view->resize(900, 600);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        PageViewUndo::Attach(&view->Core());
        view->SetScreen(1);
    }
    void TearDown() override {
        PageViewUndo::Detach(&view->Core());
        view.reset();
        doc.Reset();
        GuiTest::TearDown();
    }
    // The client pixel of a page point.
    QPoint at(const TFBPage* page, float x, float y) {
        const TFBPointF o = doc.PageOffset(page);
        float dx = 0, dy = 0;
        view->Core().Transformation().Transform(o.X + x, o.Y + y, dx, dy);
        return QPoint(int(dx), int(dy));
    }
    QPoint centreOf(const TFBElement* element) {
        return at(element->Page, element->CenterX, element->CenterY);
    }
    // Enters, moves and drops as a drag would; returns the drop's action (ignore when refused).
    Qt::DropAction dragAndDrop(const QMimeData& data, const QPoint& p, Qt::DropAction proposed,
                               QObject* source) {
        QDragEnterEvent enter(p, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        enter.setDropAction(proposed);
        QApplication::sendEvent(view->viewport(), &enter);
        if (!enter.isAccepted())
            return Qt::IgnoreAction;
        QDropEvent drop(QPointF(p), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        drop.setDropAction(proposed);
        if (source)
            QTest::qWait(0);
        QApplication::sendEvent(view->viewport(), &drop);
        return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
    }
    // The captions of the visible entries of the menu for a right click at p.
    QStringList menuAt(const QPoint& p, QMenu& menu) {
        QTest::mousePress(view->viewport(), Qt::RightButton, Qt::NoModifier, p);
        QTest::mouseRelease(view->viewport(), Qt::RightButton, Qt::NoModifier, p);
        view->CommandHost().BuildMenu(menu);
        QStringList captions;
        for (QAction* action : menu.actions())
            if (!action->isSeparator() && action->isVisible())
                captions << action->text() + (action->isEnabled() ? QString() : QStringLiteral(" (aus)"));
        return captions;
    }
    QImage shoot(QMenu& menu, const QPoint& p, const char* name) {
        menu.popup(view->viewport()->mapToGlobal(p));
        QTest::qWait(50);
        const QImage shot = menu.grab().toImage();
        EXPECT_TRUE(shot.save(screenshotPath(QString::fromLatin1(name))));
        menu.hide();
        return shot;
    }

    QTemporaryDir dir;
    QStringList photos;
    TFBDocument doc;
    std::unique_ptr<TFBMainView> view;
};

TEST_F(PageViewCommandsUi, DroppedFilesLoadWithTheStatusPanelAndAreAlwaysCopied) {
    TFBPage* left = doc.Pages.Items(1);
    TFBPictureElement* frame = left->Picture(0);
    QMimeData data;
    Transfer::PutFileList(data, photos);
    QStringList shown;
    view->CommandHost().OnStatusShown = [&] {
        QLabel* panel = view->CommandHost().StatusPanel();
        shown << panel->text();
        EXPECT_EQ(panel->width(), view->viewport()->width() / 2);
        EXPECT_EQ(panel->height(), 50);
        if (shown.size() == 2) {
            EXPECT_TRUE(view->grab().save(screenshotPath(QStringLiteral("drop-status-panel.png"))));
        }
    };
    // Proposing a move: the answer is a copy, so that a file manager keeps the photos.
    EXPECT_EQ(dragAndDrop(data, centreOf(frame), Qt::MoveAction, nullptr), Qt::CopyAction);
    EXPECT_EQ(shown, (QStringList{QStringLiteral("Bild 1 von 3 wird geladen"),
                                  QStringLiteral("Bild 2 von 3 wird geladen"),
                                  QStringLiteral("Bild 3 von 3 wird geladen")}));
    EXPECT_FALSE(view->CommandHost().StatusPanel()->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(UndoManager().Count(), 3);
    EXPECT_TRUE(frame->HasPicture());

    // Another program's URLs of a file with spaces, umlauts and a hash in its path.
    QDir(dir.path()).mkpath(QStringLiteral("Grüße 2024"));
    const QString strand = dir.filePath(QStringLiteral("Grüße 2024/Strand #1.jpg"));
    QFile::copy(photos[0], strand);
    QMimeData uris;
    uris.setUrls({QUrl::fromLocalFile(strand)});
    TFBPictureElement* next = frame->NextPictureElement()->NextPictureElement()->NextPictureElement();
    view->SetScreen(next->Page->ViewIndex());
    EXPECT_EQ(dragAndDrop(uris, centreOf(next), Qt::MoveAction, nullptr), Qt::CopyAction);
    EXPECT_EQ(TBildmanager::Instance().Find(next->RefIndex)->FileName, strand);
    EXPECT_TRUE(QFile::exists(strand));

    // Beside the pages nothing is accepted.
    EXPECT_EQ(dragAndDrop(data, QPoint(2, 2), Qt::CopyAction, nullptr), Qt::IgnoreAction);
}

TEST_F(PageViewCommandsUi, FramesAreOnlyTakenFromThisProgram) {
    TFBPictureElement* a = doc.Pages.Items(1)->Picture(0);
    TFBPictureElement* b = a->NextPictureElement();
    a->SetPictureFile(photos[0]);
    QMimeData data;
    data.setData(TransferFormat::Pic, Transfer::PicBytes(doc, *a));
    EXPECT_EQ(dragAndDrop(data, centreOf(b), Qt::MoveAction, nullptr), Qt::IgnoreAction);
    EXPECT_FALSE(b->HasPicture());
    // (A drag started in this program has a source; the core's tests cover the swap and copy.)
}

TEST_F(PageViewCommandsUi, TheContextMenuFollowsTheClickAndTheClipboardTheEditMenu) {
    TFBPage* left = doc.Pages.Items(1);
    TFBPictureElement* photo = left->Picture(0);
    photo->SetPictureFile(photos[0]);
    view->InsertTextElement();
    TFBElement* text = view->Selected();
    ASSERT_NE(text, nullptr);
    text->CenterY = 15;
    view->Select(nullptr);
    view->Repaint();

    QMenu pageMenu;
    const TFBPage* right = doc.Pages.Items(2);
    const QStringList pageItems = menuAt(at(right, doc.PageWidth - 2, doc.PageHeight - 2), pageMenu);
    EXPECT_EQ(pageItems,
              (QStringList{QStringLiteral("Ausrichtung wechseln"), QStringLiteral("Seite davor einfügen"),
                           QStringLiteral("Seite dahinter einfügen"), QStringLiteral("Seite löschen"),
                           QStringLiteral("Vorherige Seite"), QStringLiteral("Nächste Seite")}));
    const QImage pageShot =
        shoot(pageMenu, at(right, doc.PageWidth - 2, doc.PageHeight - 2), "menu-page-area.png");

    QMenu textMenu;
    EXPECT_EQ(menuAt(centreOf(text), textMenu),
              (QStringList{QStringLiteral("Ausschneiden"), QStringLiteral("Kopieren"),
                           QStringLiteral("Einfügen (aus)"), QStringLiteral("Löschen")}));
    const QImage textShot = shoot(textMenu, centreOf(text), "menu-text.png");
    EXPECT_LT(textShot.height(), pageShot.height());

    QMenu photoMenu;
    EXPECT_EQ(menuAt(centreOf(photo), photoMenu).size(), 11);
    shoot(photoMenu, centreOf(photo), "menu-photo.png");

    // Copy goes to the system clipboard; Paste becomes possible and pastes.
    view->Select(text);
    EXPECT_TRUE(view->CanCopy());
    view->Copy();
    const QMimeData* offered = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(offered, nullptr);
    EXPECT_TRUE(offered->hasFormat(TransferFormat::ClipData));
    EXPECT_TRUE(offered->hasText());
    EXPECT_TRUE(view->CanPaste());
    const int before = left->Sizeables.Count() + doc.Pages.Items(2)->Sizeables.Count();
    view->Paste();
    EXPECT_EQ(left->Sizeables.Count() + doc.Pages.Items(2)->Sizeables.Count(), before + 1);

    // Another program takes the clipboard: the cached formats follow its change notice.
    QGuiApplication::clipboard()->setText(QStringLiteral("nur Text"));
    QTest::qWait(10);
    EXPECT_FALSE(view->CanPaste());

    // The menu key opens the menu for the selection.
    view->Select(photo);
    QTimer::singleShot(100, [] {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    });
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(0, 0),
                          view->viewport()->mapToGlobal(QPoint(0, 0)));
    QApplication::sendEvent(view->viewport(), &key);
    EXPECT_EQ(view->Core().ContextElement(), photo);
}

TEST_F(PageViewCommandsUi, DeletingAPageFromTheMenuAsksTheInstalledQuestion) {
    QStringList asked;
    view->CommandHost().AskYesNo = [&](const QString& question) {
        asked << question;
        return false;
    };
    QMenu menu;
    menuAt(at(doc.Pages.Items(2), doc.PageWidth - 2, doc.PageHeight - 2), menu);
    const int pages = doc.Pages.Count();
    for (QAction* action : menu.actions())
        if (action->text() == QStringLiteral("Seite löschen"))
            action->trigger();
    EXPECT_EQ(asked, QStringList{QStringLiteral("Soll die Doppelseite wirklich gelöscht werden?")});
    EXPECT_EQ(doc.Pages.Count(), pages);
}

} // namespace
