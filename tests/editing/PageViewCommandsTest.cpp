// The page view's commands on products of the catalogue: drops of files, layouts, colours, frames
// and clipart, the clipboard, deleting, inserting text, turning the view and the context menu.
#include "catalogue/uDateiNeuWizzard.h"
#include "catalogue/uFotobuchPageTemplate.h"
#include "document/uFBColor.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "editing/uClipboard.h"
#include "editing/uMulticaster.h"
#include "editing/uPageView.h"
#include "editing/uPageViewCommands.h"
#include "editing/uPageViewOffscreen.h"
#include "editing/uPageViewUndo.h"
#include "editing/uTransferData.h"
#include "editing/uUndo.h"
#include "platform/Exception.h"
#include "support/CanonicalForm.h"
#include "support/FakeColorDialog.h"
#include "support/PictureSupport.h"
#include "support/SampleDocument.h"

#include <QDir>
#include <QMimeData>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The window around the commands: answers the delete question and remembers what it was shown.
class TRecordingWindow : public TCommandWindow {
public:
    bool Confirm(const QString& question) override {
        questions << question;
        return answer;
    }
    void ShowStatus(const QString& text) override {
        if (!text.isEmpty())
            status << text;
    }
    void StatusLine(const QString& text) override { statusLine = text; }
    void BeginWait() override { ++waits; }
    void Report(const QString& line) override { reports << line; }

    bool answer = true;
    QStringList questions, status, reports;
    QString statusLine;
    int waits = 0;
};

class PageViewCommands : public ::testing::Test {
protected:
    void SetUp() override {
        const QString d = dir.path();
        wide =
            PictureSupport::writeFile(d + QStringLiteral("/breit.png"), png(PictureSupport::halves(80, 40)));
        tall = PictureSupport::writeFile(d + QStringLiteral("/hoch.jpg"),
                                         PictureSupport::jpeg(PictureSupport::photo(40, 80, 2)));
        third = PictureSupport::writeFile(d + QStringLiteral("/drei.jpg"),
                                          PictureSupport::jpeg(PictureSupport::photo(64, 64, 3)));
        clipart = SampleDocument::writeClipartFile(d);
        previousDialog = SetColorDialogService(&dialog);
        UndoManager().Clear();
    }
    void TearDown() override {
        SetColorDialogService(previousDialog);
        if (view)
            PageViewUndo::Detach(view.get());
        commands.reset();
        view.reset();
        UndoManager().Clear();
        Clipboard().SetData(nullptr);
        doc.Reset();
    }
    static QByteArray png(const QImage& image) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return bytes;
    }

    void open(int product, int pages = -1) {
        doc.Reset();
        ASSERT_TRUE(CreateProductDocument(doc, product, 2026, pages < 0 ? WizardPageCount(product) : pages));
        doc.Modified = false;
        view = std::make_unique<TPageView>(&doc, &screen);
        screen.Attach(view.get());
        PageViewUndo::Attach(view.get());
        view->Resize(800, 600);
        commands = std::make_unique<TPageViewCommands>(*view, window);
    }
    // The centre of the frame in view millimetres.
    TFBPointF centreOf(const TFBElement* element) const {
        const TFBPointF o = doc.PageOffset(element->Page);
        return {o.X + element->CenterX, o.Y + element->CenterY};
    }
    std::unique_ptr<QMimeData> files(const QStringList& paths) const {
        auto data = std::make_unique<QMimeData>();
        Transfer::PutFileList(*data, paths);
        return data;
    }
    std::unique_ptr<QMimeData> payload(const QString& format, const QByteArray& bytes) const {
        auto data = std::make_unique<QMimeData>();
        data->setData(format, bytes);
        return data;
    }
    TDropEffect drop(const QMimeData& data, const TFBPointF& at, TDropEffect proposed = TDropEffect::Copy) {
        return commands->Drop(data, at, true, proposed);
    }
    // Right click on the element (or the page point) as the page view prepares the menu.
    std::vector<TMenuEntry> menuOn(TFBElement* element, const TFBPointF& pagePoint = {20, 20}) {
        const TFBPointF at = element ? centreOf(element) : TFBPointF{pagePoint.X, pagePoint.Y};
        float x = 0, y = 0;
        view->Transformation().Transform(at.X, at.Y, x, y);
        view->MousePress(int(x), int(y), pbRight, 0);
        view->MouseRelease(int(x), int(y), pbRight);
        EXPECT_EQ(view->ContextElement(), element);
        return commands->ContextMenu();
    }
    // Colours survive the picture store's JPEG coding within a few steps.
    static bool near(QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) <= 3 && std::abs(qGreen(a) - qGreen(b)) <= 3 &&
               std::abs(qBlue(a) - qBlue(b)) <= 3;
    }
    static constexpr QRgb red = 0xFFDC1414;
    static constexpr QRgb blue = 0xFF1414DC;
    static QStringList shown(const std::vector<TMenuEntry>& menu) {
        QStringList keys;
        for (const TMenuEntry& e : menu)
            if (e.Command != TMenuCommand::Separator && e.Visible)
                keys << e.Key + (e.Enabled ? QString() : QStringLiteral(" (aus)"));
        return keys;
    }
    void expectRefused(const QMimeData& data, const TFBPointF& at) {
        const QStringList before = TestSupport::canonicalForm(doc);
        const int records = UndoManager().Count();
        EXPECT_EQ(commands->CheckDrop(data, at, true, TDropEffect::Copy), TDropEffect::None);
        EXPECT_THROW(drop(data, at), Exception);
        EXPECT_EQ(UndoManager().Count(), records);
        EXPECT_EQ(TestSupport::canonicalForm(doc), before);
    }
    QList<TFBPictureElement*> allFrames() const {
        QList<TFBPictureElement*> frames;
        for (const TFBPage* page : doc.Pages)
            for (int i = 0; i < page->Pictures.Count(); ++i)
                frames << page->Picture(i);
        return frames;
    }

    QTemporaryDir dir;
    QString wide, tall, third, clipart;
    TestSupport::TFakeColorDialog dialog;
    TColorDialogService* previousDialog = nullptr;
    TFBDocument doc;
    TOffscreenPageWindow screen;
    TRecordingWindow window;
    std::unique_ptr<TPageView> view;
    std::unique_ptr<TPageViewCommands> commands;
};

TEST_F(PageViewCommands, FilesFillTheFrameUnderThePointAndTheNextOnes) {
    open(31); // a photo book: several frames on each page
    const QList<TFBPictureElement*> frames = allFrames();
    ASSERT_GE(frames.size(), 4);
    TFBPictureElement* last = frames.back();
    view->SetScreen(last->Page->ViewIndex());
    const auto three = files({wide, tall, third});

    // On the last frame of the last page only that frame is filled.
    EXPECT_EQ(commands->CheckDrop(*three, centreOf(last), false, TDropEffect::Move), TDropEffect::Copy);
    EXPECT_EQ(drop(*three, centreOf(last), TDropEffect::Move), TDropEffect::Copy);
    EXPECT_EQ(UndoManager().Count(), 1);
    EXPECT_TRUE(last->HasPicture());
    for (int i = 0; i + 1 < frames.size(); ++i)
        EXPECT_FALSE(frames[i]->HasPicture()) << i;
    EXPECT_TRUE(doc.Modified);

    // On the first frame of page 1 it and the next two are filled, one record each, with the
    // status panel counting.
    UndoManager().Clear();
    window.status.clear();
    TFBPictureElement* first = doc.Pages.Items(1)->Picture(0);
    view->SetScreen(first->Page->ViewIndex());
    drop(*three, centreOf(first));
    EXPECT_EQ(UndoManager().Count(), 3);
    TFBPictureElement* f = first;
    for (const QString& path : {wide, tall, third}) {
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(TBildmanager::Instance().Find(f->RefIndex)->FileName, path);
        f = f->NextPictureElement();
    }
    EXPECT_EQ(window.status, (QStringList{QStringLiteral("Bild 1 von 3 wird geladen"),
                                          QStringLiteral("Bild 2 von 3 wird geladen"),
                                          QStringLiteral("Bild 3 von 3 wird geladen")}));
    // Undo takes them out again one by one.
    for (int i = 0; i < 3; ++i)
        PageViewUndo::Undo(*view);
    EXPECT_FALSE(first->HasPicture());
    EXPECT_FALSE(first->NextPictureElement()->HasPicture());
}

TEST_F(PageViewCommands, EntriesThatAreNoPictureFilesAreSkippedWithoutUsingAFrame) {
    open(31);
    TFBPictureElement* first = doc.Pages.Items(1)->Picture(0);
    view->SetScreen(first->Page->ViewIndex());
    const QString text = PictureSupport::writeFile(dir.filePath(QStringLiteral("notiz.jpg")), "kein Bild");
    const auto mixed = files(
        {QStringLiteral("relativ.jpg"), dir.filePath(QStringLiteral("fehlt.jpg")), dir.path(), text, tall});
    drop(*mixed, centreOf(first));
    EXPECT_EQ(UndoManager().Count(), 1);
    EXPECT_EQ(TBildmanager::Instance().Find(first->RefIndex)->FileName, tall);
    EXPECT_FALSE(first->NextPictureElement()->HasPicture());
    EXPECT_EQ(window.statusLine, QStringLiteral("4 Dateien übersprungen"));

    // No picture among them: refused, nothing recorded or changed. The drag over the frame only
    // sees that a file is there; the drop reads its header.
    const QStringList before = TestSupport::canonicalForm(doc);
    const auto noPicture = files({text, dir.path()});
    EXPECT_THROW(drop(*noPicture, centreOf(first->NextPictureElement())), Exception);
    EXPECT_EQ(UndoManager().Count(), 1);
    EXPECT_EQ(TestSupport::canonicalForm(doc), before);
    expectRefused(*files({dir.path(), QStringLiteral("relativ.jpg")}), centreOf(first->NextPictureElement()));
    // Files beside the frames, and a layout beside the pages.
    expectRefused(*files({wide}), {-50, -50});
    expectRefused(*payload(TransferFormat::PageTemplate,
                           Transfer::TemplateBytes(*FindPageTemplate(QStringLiteral("Horizon1")))),
                  {-50, -50});
}

TEST_F(PageViewCommands, ALoneFrameTurnsItsPageToThePicture) {
    for (const int product : {21, 11}) {
        SCOPED_TRACE(product);
        open(product, 3);
        TFBPage* page = doc.Pages.Items(1);
        view->SetScreen(page->ViewIndex());
        TFBPictureElement* frame = page->Picture(0);
        // A portrait picture stands the page up; it is not turned.
        page->Seitenausrichtung = 1;
        drop(*files({tall}), centreOf(frame));
        EXPECT_EQ(page->Seitenausrichtung, 0);
        EXPECT_EQ(frame->GetBitmap().size(), QSize(40, 80));

        // A landscape one lays it down and turns a quarter so that it stands on the page shown
        // turned: to the left (the right, blue half on top), or to the right (the left, red half
        // on top) when the page is shown turned the other way.
        for (const float angle : {doc.ScreenQuerformatWinkel, -doc.ScreenQuerformatWinkel}) {
            doc.ScreenQuerformatWinkel = angle;
            drop(*files({wide}), centreOf(frame));
            EXPECT_EQ(page->Seitenausrichtung, 1);
            const QImage turned = frame->GetBitmap();
            ASSERT_EQ(turned.size(), QSize(40, 80));
            const bool left = angle != -90;
            EXPECT_TRUE(near(turned.pixel(20, 5), left ? blue : red)) << angle;
            EXPECT_TRUE(near(turned.pixel(20, 75), left ? red : blue)) << angle;
        }

        // Undo brings the page's orientation back with the frame.
        PageViewUndo::Undo(*view);
        PageViewUndo::Undo(*view);
        EXPECT_EQ(page->Seitenausrichtung, 0);
        PageViewUndo::Undo(*view);
        EXPECT_EQ(page->Seitenausrichtung, 1);
        EXPECT_FALSE(frame->HasPicture());
        UndoManager().Redo(doc);
        EXPECT_EQ(page->Seitenausrichtung, 0);
    }
}

TEST_F(PageViewCommands, CalendarsKeepTheirPagesUpright) {
    open(61);
    // A month page whose calendar went: one frame and no calendar, but the product is a calendar.
    TFBPage* month = doc.Pages.Items(1);
    ASSERT_EQ(month->Pictures.Count(), 1);
    while (month->Calendars.Count() > 0)
        month->Calendars.Remove(month->Calendars.Items(0));
    view->SetScreen(month->ViewIndex());
    drop(*files({wide}), centreOf(month->Picture(0)));
    EXPECT_EQ(month->Seitenausrichtung, 0);
    EXPECT_EQ(month->Picture(0)->GetBitmap().size(), QSize(80, 40));
}

TEST_F(PageViewCommands, APanoramaTakesOneFileForAllItsFrames) {
    open(31);
    TFBPage* left = doc.Pages.Items(1);
    ASSERT_GE(left->Pictures.Count(), 2);
    TFBPictureLink* link = doc.AddPictureLink();
    link->Add(left->Picture(0));
    link->Add(left->Picture(1));
    view->SetScreen(left->ViewIndex());
    drop(*files({wide, tall}), centreOf(left->Picture(0)));
    EXPECT_EQ(TBildmanager::Instance().Find(left->Picture(1)->RefIndex)->FileName, wide);
    TFBPictureElement* after = left->Picture(1)->NextPictureElement();
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(TBildmanager::Instance().Find(after->RefIndex)->FileName, tall);
}

TEST_F(PageViewCommands, ADroppedLayoutIsTheLayoutApplied) {
    open(31);
    const TFBPageTemplate* layout = FindPageTemplate(QStringLiteral("Horizon3"));
    ASSERT_NE(layout, nullptr);
    TFBPage* page = doc.Pages.Items(2);
    view->SetScreen(page->ViewIndex());
    page->Picture(0)->SetPictureFile(tall);
    TFBDocument expected;
    ASSERT_TRUE(CreateProductDocument(expected, 31, 2026, WizardPageCount(31)));
    expected.Pages.Items(2)->Picture(0)->SetPictureFile(tall);
    layout->ApplyToPage(*expected.Pages.Items(2));

    const TFBPointF at{doc.PageOffset(page).X + 30, doc.PageOffset(page).Y + 30};
    drop(*payload(TransferFormat::PageTemplate, Transfer::TemplateBytes(*layout)), at);
    EXPECT_EQ(TestSupport::canonicalForm(doc), TestSupport::canonicalForm(expected));
    EXPECT_EQ(UndoManager().Last()->ClassName(), QStringLiteral("TUndoLayoutEinfuegen"));
    expected.Reset();

    // A damaged layout is refused.
    QByteArray damaged = Transfer::TemplateBytes(*layout);
    damaged.chop(3);
    expectRefused(*payload(TransferFormat::PageTemplate, damaged), at);
}

TEST_F(PageViewCommands, ColoursFillTheFrameWithAColourArea) {
    open(31);
    TFBPictureElement* frame = doc.Pages.Items(1)->Picture(0);
    view->SetScreen(frame->Page->ViewIndex());
    drop(*payload(TransferFormat::Color, Transfer::ColorBytes(TFBColor(QStringLiteral("rot"), 0x0000FF))),
         centreOf(frame));
    const QImage area = frame->GetBitmap();
    EXPECT_EQ(area.size(), QSize(48, 48));
    EXPECT_TRUE(near(area.pixel(47, 47), qRgb(255, 0, 0)));
    EXPECT_EQ(UndoManager().Last()->ClassName(), QStringLiteral("TUndoFarbeEinfuegen"));

    // A colour the user picks: cancelled, nothing; confirmed, that colour.
    const auto pick = payload(TransferFormat::Color, Transfer::ColorBytes(TFBColor(QStringLiteral("?"), -1)));
    TFBPictureElement* next = frame->NextPictureElement();
    drop(*pick, centreOf(next));
    EXPECT_FALSE(next->HasPicture());
    EXPECT_EQ(UndoManager().Count(), 1);
    dialog.pick = true;
    dialog.picked = 0x00FF00;
    drop(*pick, centreOf(next));
    EXPECT_TRUE(near(next->GetBitmap().pixel(0, 0), qRgb(0, 255, 0)));

    // Beside the frames, above 0xFFFFFF or cut short: refused.
    const auto red =
        payload(TransferFormat::Color, Transfer::ColorBytes(TFBColor(QStringLiteral("rot"), 0xFF)));
    expectRefused(*red, {-40, -40});
    expectRefused(
        *payload(TransferFormat::Color, Transfer::ColorBytes(TFBColor(QStringLiteral("x"), 0x1000000))),
        centreOf(frame));
    expectRefused(*payload(TransferFormat::Color, QByteArray("\x03\x00\x00\x00ro", 6)), centreOf(frame));
}

TEST_F(PageViewCommands, FramesDraggedOntoFramesCopyOrSwap) {
    open(31);
    TFBPictureElement* a = doc.Pages.Items(1)->Picture(0);
    TFBPictureElement* b = a->NextPictureElement();
    view->SetScreen(a->Page->ViewIndex());
    a->SetPictureFile(wide);
    b->SetPictureFile(tall);
    const auto pic = payload(TransferFormat::Pic, Transfer::PicBytes(doc, *a));

    EXPECT_EQ(commands->CheckDrop(*pic, centreOf(b), true, TDropEffect::Move), TDropEffect::Move);
    EXPECT_EQ(drop(*pic, centreOf(b), TDropEffect::Move), TDropEffect::Move);
    EXPECT_EQ(TBildmanager::Instance().Find(b->RefIndex)->FileName, wide);
    EXPECT_EQ(TBildmanager::Instance().Find(a->RefIndex)->FileName, tall);
    EXPECT_EQ(UndoManager().Last()->ClassName(), QStringLiteral("TUndoBildAustauschen"));
    PageViewUndo::Undo(*view);
    EXPECT_EQ(TBildmanager::Instance().Find(a->RefIndex)->FileName, wide);

    EXPECT_EQ(drop(*pic, centreOf(b)), TDropEffect::Copy);
    EXPECT_EQ(b->RefIndex, a->RefIndex);
    PageViewUndo::Undo(*view);
    EXPECT_EQ(TBildmanager::Instance().Find(b->RefIndex)->FileName, tall);

    // Onto itself, a number naming no frame, and from another program: refused.
    expectRefused(*pic, centreOf(a));
    expectRefused(*payload(TransferFormat::Pic, "9999"), centreOf(b));
    EXPECT_EQ(commands->CheckDrop(*pic, centreOf(b), false, TDropEffect::Copy), TDropEffect::None);
    EXPECT_THROW(commands->Drop(*pic, centreOf(b), false, TDropEffect::Copy), Exception);
}

TEST_F(PageViewCommands, ClipartLandsCentredOnThePointTurnedWithThePage) {
    open(21, 2); // prints: pages shown turned
    TFBPage* page = doc.Pages.Items(1);
    view->SetScreen(page->ViewIndex());
    ASSERT_EQ(page->Seitenausrichtung, 1);
    auto data = std::make_unique<QMimeData>();
    Transfer::PutClipart(*data, {clipart, wide});
    const TFBPointF origin = doc.PageOffset(page);
    drop(*data, {origin.X + 30, origin.Y + 40});
    ASSERT_EQ(page->Sizeables.Count(), 1);
    TFBElement* element = page->Sizeables.Items(0);
    EXPECT_EQ(element->ClassName(), QStringLiteral("TFBClipartElement"));
    EXPECT_FLOAT_EQ(element->CenterX, 30);
    EXPECT_FLOAT_EQ(element->CenterY, 40);
    EXPECT_FLOAT_EQ(element->Angle, -doc.ScreenQuerformatWinkel);
    EXPECT_EQ(view->Selected(), element);
    EXPECT_EQ(TBildmanager::Instance().Find(static_cast<TFBClipartElement*>(element)->RefIndex)->FileName,
              clipart);
    view->Select(nullptr);
    PageViewUndo::Undo(*view);
    EXPECT_EQ(page->Sizeables.Count(), 0);
}

TEST_F(PageViewCommands, TheMenuShowsWhatFitsWhereTheUserClicked) {
    open(31);
    TFBPage* page = doc.Pages.Items(1);
    view->SetScreen(page->ViewIndex());
    TFBPictureElement* photo = page->Picture(0);
    TFBPictureElement* colour = photo->NextPictureElement();
    photo->SetPictureFile(wide);
    colour->SetColorFill(0x3366CC);
    TFBTextElement* text = commands->InsertTextElement();
    text->CenterY = 20;
    view->Select(nullptr);

    const QStringList pageItems = {
        QStringLiteral("Ausrichtung wechseln"),    QStringLiteral("Seite davor einfuegen"),
        QStringLiteral("Seite dahinter einfügen"), QStringLiteral("Seite löschen"),
        QStringLiteral("Vorherige Seite"),         QStringLiteral("Nächste Seite")};
    // Empty page area beside the elements (the page's lower right corner).
    const TFBPointF corner{doc.PageOffset(doc.Pages.Items(2)).X + doc.PageWidth - 1,
                           doc.PageOffset(doc.Pages.Items(2)).Y + doc.PageHeight - 1};
    ASSERT_EQ(view->ElementAtViewPoint(corner, hkAll), nullptr);
    EXPECT_EQ(shown(menuOn(nullptr, corner)), pageItems);

    const QStringList edit = {QStringLiteral("Ausschneiden"), QStringLiteral("Kopieren"),
                              QStringLiteral("Einfügen (aus)"), QStringLiteral("Löschen")};
    EXPECT_EQ(shown(menuOn(text)), edit);

    const QStringList photoItems = QStringList{QStringLiteral("Bild nach links drehen"),
                                               QStringLiteral("Bild nach rechts drehen"),
                                               QStringLiteral("Helligkeit, Kontrast, Intensität, Gamma..."),
                                               QStringLiteral("Farbton, Sättigung, Helligkeit..."),
                                               QStringLiteral("Schwarz-Weiß, Kolorieren..."),
                                               QStringLiteral("Rote Augen entfernen..."),
                                               QStringLiteral("Farbe ändern (aus)")} +
                                   edit;
    EXPECT_EQ(shown(menuOn(photo)), photoItems);

    QStringList colourItems;
    for (const QString& item : photoItems.mid(0, 6))
        colourItems << item + QStringLiteral(" (aus)");
    colourItems << QStringLiteral("Farbe ändern") << edit;
    EXPECT_EQ(shown(menuOn(colour)), colourItems);

    // After copying the text, "Einfügen" is there on any element.
    menuOn(text);
    commands->Run(TMenuCommand::Copy);
    EXPECT_TRUE(shown(menuOn(photo)).contains(QStringLiteral("Einfügen")));

    // "Farbe ändern" starts at the area's colour and refills on OK.
    menuOn(colour);
    dialog.pick = true;
    dialog.picked = 0x0000FF;
    commands->Run(TMenuCommand::ChangeColour);
    const int32_t start = dialog.shownWith; // 0x00BBGGRR
    EXPECT_TRUE(near(qRgb(start & 0xFF, (start >> 8) & 0xFF, (start >> 16) & 0xFF), qRgb(0xCC, 0x66, 0x33)));
    EXPECT_TRUE(near(colour->GetBitmap().pixel(0, 0), qRgb(255, 0, 0)));
    EXPECT_EQ(UndoManager().Last()->ClassName(), QStringLiteral("TUndoFarbeEinfuegen"));

    // Turning the photo from the menu.
    menuOn(photo);
    commands->Run(TMenuCommand::RotateRight);
    EXPECT_EQ(photo->GetBitmap().size(), QSize(40, 80));
    EXPECT_EQ(UndoManager().Last()->ClassName(), QStringLiteral("TUndoBildDrehen"));
    // The filters have no dialog yet: not confirmed, no record left.
    const int records = UndoManager().Count();
    commands->Run(TMenuCommand::FilterHSL);
    EXPECT_EQ(UndoManager().Count(), records);

    // On the first view there is no page before.
    view->SetScreen(0);
    const std::vector<TMenuEntry> first =
        menuOn(nullptr, {doc.PageOffset(doc.Pages.Items(0)).X + 5, doc.PageOffset(doc.Pages.Items(0)).Y + 5});
    EXPECT_TRUE(shown(first).contains(QStringLiteral("Vorherige Seite (aus)")));
}

TEST_F(PageViewCommands, TheMenuOnACalendarOffersOnlyPasting) {
    open(61);
    TFBPage* month = doc.Pages.Items(1);
    ASSERT_EQ(month->Calendars.Count(), 1);
    view->SetScreen(1);
    const QStringList items = shown(menuOn(month->Calendar(0)));
    EXPECT_EQ(items, (QStringList{QStringLiteral("Ausschneiden (aus)"), QStringLiteral("Kopieren (aus)"),
                                  QStringLiteral("Einfügen (aus)"), QStringLiteral("Löschen (aus)")}));
    EXPECT_FALSE(commands->CanCopy());
    EXPECT_FALSE(commands->CanDelete());
}

TEST_F(PageViewCommands, DeletingAPageAsksFirst) {
    open(21, 3); // single pages
    view->SetScreen(2);
    window.answer = false;
    commands->Run(TMenuCommand::DeletePage);
    EXPECT_EQ(window.questions, QStringList{QStringLiteral("Soll die Seite wirklich gelöscht werden?")});
    EXPECT_EQ(doc.Pages.Count(), 3);
    EXPECT_EQ(UndoManager().Count(), 0);

    // Yes: the last page goes and the view shows the new last one.
    window.answer = true;
    int shownView = -1;
    {
        const TMulticaster::TSubscription shown =
            Multicaster().Subscribe({{}, [&](const QObject*, int v) { shownView = v; }, {}});
        commands->Run(TMenuCommand::DeletePage);
    }
    EXPECT_EQ(doc.Pages.Count(), 2);
    EXPECT_EQ(view->ViewIndex(), 1);
    EXPECT_EQ(shownView, 1);
    EXPECT_TRUE(doc.Modified);
    PageViewUndo::Undo(*view);
    EXPECT_EQ(doc.Pages.Count(), 3);

    // Inserting pages marks the document modified too.
    doc.Modified = false;
    view->SetScreen(0);
    commands->Run(TMenuCommand::InsertPageAfter);
    EXPECT_EQ(doc.Pages.Count(), 4);
    EXPECT_EQ(view->ViewIndex(), 1);
    EXPECT_TRUE(doc.Modified);

    // A book asks about the spread.
    open(31);
    view->SetScreen(1);
    window.questions.clear();
    window.answer = false;
    menuOn(nullptr, {doc.PageOffset(doc.Pages.Items(1)).X + 1, doc.PageOffset(doc.Pages.Items(1)).Y + 1});
    commands->Run(TMenuCommand::DeletePage);
    EXPECT_EQ(window.questions,
              QStringList{QStringLiteral("Soll die Doppelseite wirklich gelöscht werden?")});
}

TEST_F(PageViewCommands, CopyCutPasteAndDeleteGoThroughTheClipboard) {
    open(31);
    TFBPage* left = doc.Pages.Items(1);
    view->SetScreen(1);
    TFBPictureElement* frame = left->Picture(0);
    TFBPictureElement* target = frame->NextPictureElement();
    frame->SetPictureFile(wide);

    // A picture frame's content goes into another frame.
    view->Select(frame);
    ASSERT_TRUE(commands->CanCopy());
    commands->Copy();
    EXPECT_TRUE(Clipboard().HasFormat(TransferFormat::ClipPic));
    EXPECT_FALSE(Clipboard().HasFormat(TransferFormat::ClipKalender));
    view->Select(target);
    ASSERT_TRUE(commands->CanPaste());
    commands->Paste();
    EXPECT_EQ(target->RefIndex, frame->RefIndex);
    EXPECT_EQ(UndoManager().Last()->ClassName(), QStringLiteral("TUndoBildEinfuegen"));
    PageViewUndo::Undo(*view);
    EXPECT_FALSE(target->HasPicture());

    // A frame's picture cannot be pasted with a text selected.
    TFBTextElement* text = commands->InsertTextElement();
    EXPECT_FALSE(commands->CanPaste());
    EXPECT_THROW(commands->Paste(), Exception);

    // Text: cut from a right page and pasted on the right page of another spread.
    TFBPage* right = doc.Pages.Items(2);
    doc.MoveElementToPage(text, right);
    view->Select(text);
    commands->Cut();
    EXPECT_EQ(right->Sizeables.Count(), 0);
    EXPECT_EQ(view->Selected(), nullptr);
    view->SetScreen(2);
    commands->Paste();
    TFBPage* otherRight = doc.Pages.Items(4);
    ASSERT_EQ(otherRight->Sizeables.Count(), 1);
    EXPECT_EQ(view->Selected(), otherRight->Sizeables.Items(0));
    EXPECT_EQ(window.reports.last(), QStringLiteral("pasted TFBTextElement onto page 4 as element 0"));

    // On view 0 of a book (a lone right page) a left-page element comes to the right page.
    TFBElement* pasted = otherRight->Sizeables.Items(0);
    doc.MoveElementToPage(pasted, doc.Pages.Items(3));
    view->Select(pasted);
    commands->Copy();
    view->SetScreen(0);
    commands->Paste();
    EXPECT_EQ(doc.Pages.Items(0)->Sizeables.Count(), 1);

    // An element far off the page comes to its middle.
    pasted->CenterX = 5000;
    view->SetScreen(2);
    view->Select(pasted);
    commands->Copy();
    view->SetScreen(1);
    commands->Paste();
    TFBElement* centred = view->Selected();
    ASSERT_NE(centred, nullptr);
    EXPECT_FLOAT_EQ(centred->CenterX, doc.PageWidth / 2);

    // Deleting: a text goes, a frame only loses its picture.
    commands->DeleteSelection();
    EXPECT_EQ(UndoManager().Last()->ClassName(), QStringLiteral("TUndoElementLoeschen"));
    view->Select(frame);
    commands->DeleteSelection();
    EXPECT_FALSE(frame->HasPicture());
    EXPECT_EQ(UndoManager().Last()->ClassName(), QStringLiteral("TUndoBildLoeschen"));
    EXPECT_FALSE(commands->CanDelete()); // an empty frame
}

TEST_F(PageViewCommands, BadClipboardBytesAreRefusedWithOneMessage) {
    open(31);
    view->SetScreen(1);
    TFBPictureElement* frame = doc.Pages.Items(1)->Picture(0);
    view->Select(frame);
    // A text's bytes and a colour area's, made before the document is taken as it stands.
    TFBTextElement text(doc.Pages.Items(1));
    const QByteArray textBytes = Transfer::CopyElement(text).Bytes;
    QByteArray frameBytes;
    {
        TFBPictureElement other(doc.Pages.Items(1));
        other.SetColorFill(0xFF);
        frameBytes = Transfer::CopyElement(other).Bytes;
        other.RemovePicture();
    }
    const QStringList before = TestSupport::canonicalForm(doc);
    const auto refused = [&](const QString& format, const QByteArray& bytes,
                             const QString& message = TPageViewCommands::PasteRefused()) {
        auto data = std::make_unique<QMimeData>();
        data->setData(format, bytes);
        Clipboard().SetData(std::move(data));
        try {
            commands->Paste();
            ADD_FAILURE() << "pasted " << bytes.left(20).toHex().constData();
        } catch (const Exception& e) {
            EXPECT_EQ(e.message(), message);
        }
        EXPECT_EQ(UndoManager().Count(), 0);
        EXPECT_EQ(TestSupport::canonicalForm(doc), before);
    };
    refused(TransferFormat::ClipPic, QByteArray(100, 'x'));
    refused(TransferFormat::ClipData, QByteArray("VX DataFile"));
    // A text's bytes under the picture's name, and a frame's under the element's.
    refused(TransferFormat::ClipPic, textBytes);
    refused(TransferFormat::ClipData, frameBytes);
    Clipboard().SetData(nullptr);
    // An owner that delivers nothing.
    refused(TransferFormat::ClipData, QByteArray(),
            QStringLiteral("CopyStreamFromClipboard: could not lock global handle obtained from clipboard!"));
}

TEST_F(PageViewCommands, TextIsInsertedAndTheViewTurnedUndoably) {
    open(31);
    view->SetScreen(0); // the lone right page of the cover
    TFBTextElement* text = commands->InsertTextElement();
    EXPECT_EQ(text->Page, doc.Pages.Items(0));
    EXPECT_TRUE(text->HasShadow);
    EXPECT_FLOAT_EQ(text->Width, 0.6f * doc.PageWidth);
    EXPECT_FLOAT_EQ(text->Height, 20);
    EXPECT_EQ(view->Selected(), text);
    EXPECT_EQ(window.reports.last(), QStringLiteral("text element 0 on page 0"));
    view->Select(nullptr);
    PageViewUndo::Undo(*view);
    EXPECT_EQ(doc.Pages.Items(0)->Sizeables.Count(), 0);

    doc.Modified = false;
    view->SetScreen(1);
    commands->ToggleOrientation(true);
    EXPECT_EQ(doc.ViewOrientation(1), 1);
    EXPECT_TRUE(doc.Modified);
    EXPECT_EQ(window.reports.last(), QStringLiteral("orientation 1"));
    commands->ToggleOrientation(false);
    EXPECT_EQ(doc.ViewOrientation(1), 0);
    PageViewUndo::Undo(*view);
    EXPECT_EQ(doc.ViewOrientation(1), 1);
    PageViewUndo::Undo(*view);
    EXPECT_EQ(doc.ViewOrientation(1), 0);
}

} // namespace
