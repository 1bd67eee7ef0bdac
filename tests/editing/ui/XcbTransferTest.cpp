// Drags and the clipboard between two programs on a real X server (run under xvfb-run with
// QT_QPA_PLATFORM=xcb; elsewhere these tests skip). The second program is this test program
// started again in a peer role: XcbPeer.* do nothing unless TINTARO_XCB_PEER names their role.
#include "catalogue/uDateiNeuWizzard.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "editing/uPageViewUndo.h"
#include "editing/uTransferData.h"
#include "editing/ui/uFotobuchMainview.h"
#include "support/GuiTest.h"
#include "support/PictureSupport.h"
#include "support/XcbPointer.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDrag>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <iostream>

namespace {

bool onXcb() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

QString peerRole() {
    return qEnvironmentVariable("TINTARO_XCB_PEER");
}

using TestSupport::waitFor;

// Starts this program again in a peer role; its stdout is read line by line.
std::unique_ptr<QProcess> startPeer(const QString& role, const QString& argument) {
    auto peer = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TINTARO_XCB_PEER"), role);
    env.insert(QStringLiteral("TINTARO_XCB_ARG"), argument);
    peer->setProcessEnvironment(env);
    peer->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    peer->start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=XcbPeer.") + role});
    return peer;
}

bool waitForLine(QProcess& peer, const QByteArray& line, int ms) {
    QByteArray seen;
    const bool found = waitFor(
        [&] {
            seen += peer.readAllStandardOutput();
            return seen.contains(line);
        },
        ms);
    if (!found)
        std::cerr << "the peer said: " << seen.constData() << std::endl;
    return found;
}

class XcbTransfer : public TestSupport::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        if (!onXcb() || !peerRole().isEmpty())
            GTEST_SKIP() << "needs an X server (run under xvfb-run with QT_QPA_PLATFORM=xcb)";
        doc.Reset();
        ASSERT_TRUE(CreateProductDocument(doc, 31, 2026, WizardPageCount(31)));
        view = std::make_unique<TFBMainView>(nullptr, &doc);
        view->setGeometry(400, 50, 800, 500);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        PageViewUndo::Attach(&view->Core());
        view->SetScreen(1);
    }
    void TearDown() override {
        if (view)
            PageViewUndo::Detach(&view->Core());
        view.reset();
        doc.Reset();
        GuiTest::TearDown();
    }
    // The screen position of a page point.
    QPoint onScreen(const TFBPage* page, float x, float y) {
        const TFBPointF o = doc.PageOffset(page);
        float dx = 0, dy = 0;
        view->Core().Transformation().Transform(o.X + x, o.Y + y, dx, dy);
        return view->viewport()->mapToGlobal(QPoint(int(dx), int(dy)));
    }

    QTemporaryDir dir;
    TFBDocument doc;
    std::unique_ptr<TFBMainView> view;
};

TEST_F(XcbTransfer, ATextCopiedInOneDesignerIsPastedInAnother) {
    const QString doneFile = dir.filePath(QStringLiteral("fertig"));
    auto peer = startPeer(QStringLiteral("CopyText"), doneFile);
    ASSERT_TRUE(waitForLine(*peer, "copied", 20000)) << "the peer did not copy";
    // The change notice of the other program's clipboard arrives through the event loop.
    ASSERT_TRUE(waitFor([&] { return view->CanPaste(); }, 5000));
    TFBPage* left = doc.Pages.Items(1);
    const int before = left->Sizeables.Count();
    view->Paste();
    ASSERT_EQ(left->Sizeables.Count(), before + 1);
    EXPECT_EQ(left->Sizeables.Items(before)->ClassName(), QStringLiteral("TFBTextElement"));
    EXPECT_EQ(static_cast<TFBTextElement*>(left->Sizeables.Items(before))->RTF(),
              QByteArray("{\\rtf1\\ansi Gr\\'fc\\'dfe vom anderen Programm}"));
    QFile done(doneFile);
    ASSERT_TRUE(done.open(QIODevice::WriteOnly));
    done.close();
    EXPECT_TRUE(waitFor([&] { return peer->state() == QProcess::NotRunning; }, 10000));
}

TEST_F(XcbTransfer, AFileDraggedFromAnotherProgramIsCopiedIntoTheFrame) {
    QDir(dir.path()).mkpath(QStringLiteral("Grüße 2024"));
    const QString strand = dir.filePath(QStringLiteral("Grüße 2024/Strand #1.jpg"));
    PictureSupport::writeFile(strand, PictureSupport::jpeg(PictureSupport::photo(120, 80, 5)));
    TFBPictureElement* frame = doc.Pages.Items(1)->Picture(0);
    const QPoint target = onScreen(frame->Page, frame->CenterX, frame->CenterY);

    auto peer = startPeer(QStringLiteral("DragFile"), strand);
    ASSERT_TRUE(waitForLine(*peer, "ready", 20000)) << "the peer window did not come up";
    // The pointer presses in the peer's window, moves over the frame and lets go there.
    QProcess pointer;
    pointer.start(QStringLiteral("xdotool"), {QStringLiteral("mousemove"),
                                              QStringLiteral("100"),
                                              QStringLiteral("100"),
                                              QStringLiteral("mousedown"),
                                              QStringLiteral("1"),
                                              QStringLiteral("sleep"),
                                              QStringLiteral("0.3"),
                                              QStringLiteral("mousemove"),
                                              QStringLiteral("140"),
                                              QStringLiteral("140"),
                                              QStringLiteral("sleep"),
                                              QStringLiteral("0.3"),
                                              QStringLiteral("mousemove"),
                                              QString::number(target.x() - 10),
                                              QString::number(target.y() - 10),
                                              QStringLiteral("sleep"),
                                              QStringLiteral("0.3"),
                                              QStringLiteral("mousemove"),
                                              QString::number(target.x()),
                                              QString::number(target.y()),
                                              QStringLiteral("sleep"),
                                              QStringLiteral("0.5"),
                                              QStringLiteral("mouseup"),
                                              QStringLiteral("1")});
    if (!pointer.waitForStarted(5000))
        GTEST_SKIP() << "xdotool is not installed";
    ASSERT_TRUE(waitFor([&] { return pointer.state() == QProcess::NotRunning; }, 20000));
    // The frame under the pointer shows the file.
    const auto filled = [&]() -> TFBPictureElement* {
        for (const TFBPage* page : {doc.Pages.Items(1), doc.Pages.Items(2)})
            for (int i = 0; i < page->Pictures.Count(); ++i)
                if (page->Picture(i)->HasPicture())
                    return page->Picture(i);
        return nullptr;
    };
    ASSERT_TRUE(waitFor([&] { return filled() != nullptr; }, 5000)) << "nothing was dropped";
    EXPECT_EQ(filled(), frame);
    EXPECT_EQ(TBildmanager::Instance().Find(filled()->RefIndex)->FileName, strand);
    // The source proposed a move and was answered with a copy: the file stays.
    ASSERT_TRUE(waitForLine(*peer, "action=copy", 10000));
    EXPECT_TRUE(QFile::exists(strand));
    EXPECT_TRUE(waitFor([&] { return peer->state() == QProcess::NotRunning; }, 10000));
}

// --- the peer roles ------------------------------------------------------------------------------

// Copies a text element of a document of its own and holds the clipboard until told "done".
TEST(XcbPeer, CopyText) {
    if (peerRole() != QLatin1String("CopyText"))
        GTEST_SKIP() << "peer role only";
    TFBDocument doc;
    ASSERT_TRUE(CreateProductDocument(doc, 31, 2026, WizardPageCount(31)));
    TFBMainView view(nullptr, &doc);
    view.resize(400, 300);
    view.show();
    view.SetScreen(1);
    view.InsertTextElement();
    auto* text = static_cast<TFBTextElement*>(view.Selected());
    ASSERT_NE(text, nullptr);
    text->SetRTF("{\\rtf1\\ansi Gr\\'fc\\'dfe vom anderen Programm}");
    view.Copy();
    std::cout << "copied" << std::endl;
    // Serve the clipboard until the other side is done (or a minute has passed).
    const QString doneFile = qEnvironmentVariable("TINTARO_XCB_ARG");
    waitFor([&] { return QFile::exists(doneFile); }, 60000);
    doc.Reset();
}

// A window that starts a drag of a file's URL proposing a move when the mouse is pressed in it.
class TDragSource : public QWidget {
public:
    explicit TDragSource(const QString& path) : path_(path) {}
    Qt::DropAction Result = Qt::IgnoreAction;
    bool Done = false;

protected:
    void mousePressEvent(QMouseEvent*) override {
        auto* data = new QMimeData;
        data->setUrls({QUrl::fromLocalFile(path_)});
        QDrag drag(this);
        drag.setMimeData(data);
        Result = drag.exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
        Done = true;
    }

private:
    QString path_;
};

TEST(XcbPeer, DragFile) {
    if (peerRole() != QLatin1String("DragFile"))
        GTEST_SKIP() << "peer role only";
    TDragSource source(qEnvironmentVariable("TINTARO_XCB_ARG"));
    source.setGeometry(0, 0, 300, 300);
    source.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&source));
    std::cout << "ready" << std::endl;
    ASSERT_TRUE(waitFor([&] { return source.Done; }, 30000));
    std::cout << (source.Result == Qt::CopyAction   ? "action=copy"
                  : source.Result == Qt::MoveAction ? "action=move"
                                                    : "action=none")
              << std::endl;
}

} // namespace
