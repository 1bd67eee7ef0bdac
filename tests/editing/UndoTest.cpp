// The undo history: merging wheel steps, cancelled dialogs, calendar starts, pages with their
// pictures and links, moved text, the place undo returns to, redo, the memory budget and records
// that no longer fit the document.
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "editing/uDocumentEdits.h"
#include "editing/uUndo.h"
#include "platform/Exception.h"
#include "support/CanonicalForm.h"
#include "support/PageElements.h"
#include "support/PictureSupport.h"
#include "support/SampleDocument.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The main window's part: the view shown and the selection.
class RecordingUIState : public TUndoUIState {
public:
    int CurrentView() const override { return view; }
    TFBElement* SelectedElement() const override { return selected; }
    void ShowPlace(int v, TFBElement* element) override {
        view = v;
        selected = element;
        ++shown;
    }
    int view = 0;
    TFBElement* selected = nullptr;
    int shown = 0;
};

class CancellingFilter : public TPictureFilterHost {
public:
    std::optional<QImage> RunFilter(TPictureFilterKind, const QImage&, int) override { return std::nullopt; }
};

class Undo : public ::testing::Test {
protected:
    void SetUp() override {
        UndoManager().Clear();
        UndoManager().SetUIState(&ui);
        UndoManager().OnChanged = [this](TUndoChange change) { changes.push_back(change); };
    }
    void TearDown() override {
        UndoManager().OnChanged = nullptr;
        UndoManager().SetUIState(nullptr);
        UndoManager().SetByteBudget(TUndoManager::DefaultByteBudget());
        UndoManager().Clear();
        TBildmanager::Instance().SetDecoder(nullptr);
        TBildmanager::Instance().SetFilterHost(nullptr);
        document.Reset();
    }

    // Single pages, each with two frames; the first frames show a photo.
    void singlePages(int count) {
        document.Reset();
        document.ScreenMode = 0;
        TestSupport::addPages(document, count);
        for (TFBPage* page : document.Pages) {
            TestSupport::placeElement<TFBPictureElement>(page, 50, 50, 80, 60);
            TestSupport::placeElement<TFBPictureElement>(page, 50, 150, 80, 60);
        }
    }
    QString photo(const char* name, int w, int h, quint32 seed = 1) {
        return PictureSupport::writeFile(dir.filePath(QString::fromLatin1(name)),
                                         PictureSupport::jpeg(PictureSupport::photo(w, h, seed)));
    }
    // A PNG: decoded as soon as it is read (a JPEG only when first drawn).
    QString png(const char* name, int w, int h) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        PictureSupport::photo(w, h).save(path, "PNG");
        return path;
    }
    TFBPictureElement* frame(int page, int index) { return document.Pages.Items(page)->Picture(index); }
    static TBildmanager& store() { return TBildmanager::Instance(); }
    // The store's use counts agree with the elements naming each picture.
    void expectCountsAgree() {
        QHash<int, int> uses;
        for (const TFBPage* page : document.Pages) {
            for (const TFBElement* e : page->Pictures)
                if (static_cast<const TFBPictureElement*>(e)->RefIndex != -1)
                    ++uses[static_cast<const TFBPictureElement*>(e)->RefIndex];
            for (const TFBElement* e : page->Sizeables)
                if (const auto* c = dynamic_cast<const TFBClipartElement*>(e); c && c->RefIndex != -1)
                    ++uses[c->RefIndex];
        }
        for (auto it = uses.cbegin(); it != uses.cend(); ++it) {
            ASSERT_NE(store().Find(it.key()), nullptr) << "dangling reference " << it.key();
            EXPECT_EQ(store().Find(it.key())->RefCount, it.value()) << "reference " << it.key();
        }
        EXPECT_EQ(store().Count(), uses.size()) << "entries nobody uses";
    }

    QTemporaryDir dir;
    TFBDocument document;
    RecordingUIState ui;
    std::vector<TUndoChange> changes;
};

TEST_F(Undo, AnEmptyHistoryUndoesAndRedoesNothing) {
    singlePages(2);
    const QStringList before = TestSupport::canonicalForm(document);
    EXPECT_FALSE(UndoManager().CanUndo());
    EXPECT_FALSE(UndoManager().Undo(document).Done);
    EXPECT_FALSE(UndoManager().Redo(document).Done);
    EXPECT_EQ(TestSupport::canonicalForm(document), before);
    EXPECT_EQ(ui.shown, 0);
    UndoManager().DropLast(); // nothing either
    EXPECT_EQ(UndoManager().Count(), 0);
}

TEST_F(Undo, WheelStepsOnOnePictureMergeIntoOneRecord) {
    singlePages(2);
    frame(0, 0)->SetPictureFile(photo("a.jpg", 60, 40));
    frame(1, 0)->SetPictureFile(photo("b.jpg", 60, 40, 2));
    // The first wheel step on an empty history records.
    DocumentEdits::ZoomPicture(*frame(0, 0), 1.03f, true);
    EXPECT_EQ(UndoManager().Count(), 1);
    for (int i = 2; i <= 10; ++i)
        DocumentEdits::ZoomPicture(*frame(0, 0), 1 + 0.03f * i, true);
    EXPECT_EQ(UndoManager().Count(), 1);
    // Another picture in between starts a new record, and so does going back.
    DocumentEdits::ZoomPicture(*frame(1, 0), 2, true);
    DocumentEdits::ZoomPicture(*frame(0, 0), 1.5f, true);
    EXPECT_EQ(UndoManager().Count(), 3);
    // Without merge (the slider) every call records.
    DocumentEdits::ZoomPicture(*frame(0, 0), 1.6f, false);
    EXPECT_EQ(UndoManager().Count(), 4);

    UndoManager().Undo(document);
    UndoManager().Undo(document);
    UndoManager().Undo(document);
    EXPECT_FLOAT_EQ(frame(1, 0)->Zoom, 1);
    EXPECT_FLOAT_EQ(frame(0, 0)->Zoom, 1.3f);
    UndoManager().Undo(document);
    EXPECT_FLOAT_EQ(frame(0, 0)->Zoom, 1); // the whole run of ten steps at once
}

TEST_F(Undo, ACancelledFilterLeavesTheHistoryAsItWas) {
    singlePages(1);
    frame(0, 0)->SetPictureFile(photo("a.jpg", 60, 40));
    DocumentEdits::RotatePicture(*frame(0, 0), 0);
    UndoManager().Undo(document); // one change to redo
    ASSERT_EQ(UndoManager().RedoCount(), 1);
    const int count = UndoManager().Count();
    CancellingFilter cancel;
    store().SetFilterHost(&cancel);
    EXPECT_FALSE(DocumentEdits::FilterPicture(*frame(0, 0), TPictureFilterKind::HSL));
    EXPECT_EQ(UndoManager().Count(), count);
    // DropLast put back what the filter's record had set aside.
    EXPECT_EQ(UndoManager().RedoCount(), 1);
    EXPECT_TRUE(UndoManager().Redo(document).Restored);
}

TEST_F(Undo, TheCalendarStartComesBackWithYearAndMonthOfEveryPage) {
    document.Reset();
    TestSupport::addPages(document, 13);
    for (TFBPage* page : document.Pages)
        TestSupport::placeElement<TFBKalenderElement>(page, 100, 200, 180, 80);
    document.SetCalendarStart(2026, 11);
    DocumentEdits::SetCalendarStart(document, 2027, 11); // the panel's plus button
    EXPECT_EQ(document.Pages.Items(0)->Calendar(0)->Data->Jahr, 2027);
    UndoManager().Undo(document);
    for (int p = 0; p < 13; ++p) {
        const TKalenderData& data = *document.Pages.Items(p)->Calendar(0)->Data;
        EXPECT_EQ(data.Monat, (10 + p) % 12 + 1) << p;
        EXPECT_EQ(data.Jahr, 2026 + (10 + p) / 12) << p;
    }
}

TEST_F(Undo, ADeletedSpreadComesBackWithItsPicturesClipartAndLink) {
    // Sample: book mode, view 1 holds pages 1 and 2 with a panorama link across the spine, a
    // text, and a clipart whose picture nothing else uses.
    SampleDocument::fill(document, dir.path());
    TestSupport::addPages(document, 2); // view 1 becomes an inner spread
    const QString extra = photo("p.jpg", 64, 48);
    document.Pages.Items(2)->Picture(1)->SetPictureFile(extra);
    UndoManager().Clear();
    const QStringList before = TestSupport::canonicalForm(document);
    const int entries = store().Count();
    ASSERT_EQ(document.PictureLinks.size(), 1u);

    ui.view = 1; // the spread was shown
    DocumentEdits::DeleteView(document, 1);
    EXPECT_EQ(document.Pages.Count(), 3);
    EXPECT_TRUE(document.PictureLinks.empty());
    EXPECT_LT(store().Count(), entries); // the spread's pictures left the store

    ui.view = 0;
    const TUndoOutcome outcome = UndoManager().Undo(document);
    EXPECT_EQ(outcome.ClassName, QStringLiteral("TUndoSeiteLoeschen"));
    EXPECT_EQ(TestSupport::canonicalForm(document), before);
    ASSERT_EQ(document.PictureLinks.size(), 1u);
    EXPECT_EQ(document.PictureLinks[0]->Members.size(), 2u);
    const auto* clipart = dynamic_cast<TFBClipartElement*>(document.Pages.Items(2)->Sizeables.Items(0));
    ASSERT_NE(clipart, nullptr);
    ASSERT_NE(store().Find(clipart->RefIndex), nullptr);
    EXPECT_FALSE(clipart->GetBitmap().isNull());
    expectCountsAgree();
    EXPECT_EQ(ui.view, 1); // back on the spread
}

TEST_F(Undo, AMovedTextGoesBackToItsPageAndListPlaceKeepingItsNewText) {
    singlePages(3);
    TFBPage* home = document.Pages.Items(0);
    TFBPage* away = document.Pages.Items(2);
    TestSupport::placeElement<TFBTextElement>(home, 10, 10, 20, 10);
    auto* text = TestSupport::placeElement<TFBTextElement>(home, 30, 30, 40, 10, 5);
    TestSupport::placeElement<TFBTextElement>(home, 50, 50, 20, 10);
    TestSupport::placeElement<TFBTextElement>(away, 70, 70, 20, 10);

    // The page view's drag: recorded at the press, the destination at the release.
    UndoManager().AddElementSizePos(text);
    document.MoveElementToPage(text, away);
    text->CenterX = 99;
    text->Width = 77;
    UndoManager().SetElementDestination(text);
    ASSERT_EQ(away->Sizeables.IndexOf(text), 1);
    // Typed after the move: stays through the undo.
    text->SetRTF(QByteArrayLiteral("{\\rtf1 neu}"));

    UndoManager().Undo(document);
    ASSERT_EQ(text->Page, home);
    EXPECT_EQ(home->Sizeables.IndexOf(text), 1);
    EXPECT_EQ(away->Sizeables.Count(), 1);
    EXPECT_FLOAT_EQ(text->CenterX, 30);
    EXPECT_FLOAT_EQ(text->Width, 40);
    EXPECT_FLOAT_EQ(text->Angle, 5);
    EXPECT_EQ(text->RTF(), QByteArrayLiteral("{\\rtf1 neu}"));

    // Redo takes it across again, to the place it had there.
    UndoManager().Redo(document);
    EXPECT_EQ(text->Page, away);
    EXPECT_EQ(away->Sizeables.IndexOf(text), 1);
    EXPECT_FLOAT_EQ(text->CenterX, 99);
}

TEST_F(Undo, UndoReturnsToTheViewAndSelectionOfTheChange) {
    singlePages(4);
    frame(2, 1)->SetPictureFile(photo("a.jpg", 60, 40));
    ui.view = 2;
    ui.selected = frame(2, 1);
    DocumentEdits::RemovePicture(*frame(2, 1));
    ui.view = 0;
    ui.selected = nullptr;

    const TUndoOutcome outcome = UndoManager().Undo(document);
    EXPECT_EQ(ui.view, 2);
    EXPECT_EQ(ui.selected, frame(2, 1));
    EXPECT_EQ(outcome.Place.Focustyp, QStringLiteral("Pic"));
    EXPECT_EQ(outcome.Place.PageIndex, 2);
    EXPECT_EQ(outcome.Place.ElementIndex, 1);
    // Redo returns to the same place.
    ui.view = 1;
    ui.selected = nullptr;
    UndoManager().Redo(document);
    EXPECT_EQ(ui.view, 2);
    EXPECT_EQ(ui.selected, frame(2, 1));

    // A view that is gone by now shows the nearest one, with nothing selected.
    ui.view = 3;
    ui.selected = frame(3, 0);
    DocumentEdits::FillColour(*frame(3, 0), 0xFF);
    document.Pages.Delete(3); // outside the history
    const TUndoOutcome late = UndoManager().Undo(document);
    EXPECT_FALSE(late.Restored); // the frame is gone: nothing restored, record dropped
    EXPECT_EQ(ui.view, 2);
    EXPECT_EQ(ui.selected, nullptr);
    EXPECT_FALSE(late.Place.HasFocusedElement);
    EXPECT_EQ(UndoManager().RedoCount(), 0);
}

TEST_F(Undo, RedoFollowsUndoAndEveryNewEditForgetsIt) {
    singlePages(3);
    DocumentEdits::InsertView(document, 1, 1);
    DocumentEdits::FillColour(*frame(0, 0), 0x00FF00);
    EXPECT_EQ(document.Pages.Count(), 4);
    UndoManager().Undo(document);
    UndoManager().Undo(document);
    EXPECT_EQ(document.Pages.Count(), 3);
    EXPECT_EQ(UndoManager().RedoCount(), 2);
    EXPECT_EQ(UndoManager().Redo(document).ClassName, QStringLiteral("TUndoSeiteLoeschen"));
    EXPECT_EQ(document.Pages.Count(), 4);
    EXPECT_EQ(UndoManager().Redo(document).ClassName, QStringLiteral("TUndoFarbeEinfuegen"));
    EXPECT_TRUE(frame(0, 0)->HasPicture());
    EXPECT_FALSE(UndoManager().CanRedo());

    UndoManager().Undo(document);
    EXPECT_EQ(UndoManager().RedoCount(), 1);
    // A new edit forgets what could be redone.
    frame(1, 0)->SetPictureFile(photo("a.jpg", 60, 40));
    DocumentEdits::ZoomPicture(*frame(1, 0), 2, true);
    EXPECT_EQ(UndoManager().RedoCount(), 0);
    // So does a wheel step that merges into the newest record.
    DocumentEdits::FillColour(*frame(2, 0), 0xFF);
    UndoManager().Undo(document);
    EXPECT_EQ(UndoManager().RedoCount(), 1);
    const int count = UndoManager().Count();
    DocumentEdits::ZoomPicture(*frame(1, 0), 3, true);
    EXPECT_EQ(UndoManager().Count(), count);
    EXPECT_EQ(UndoManager().RedoCount(), 0);
    UndoManager().Clear();
    EXPECT_FALSE(UndoManager().CanRedo());
    EXPECT_FALSE(UndoManager().CanUndo());
}

TEST_F(Undo, TheManagerAnnouncesEveryChangeOfTheHistory) {
    singlePages(2);
    DocumentEdits::FillColour(*frame(0, 0), 0xFF);
    UndoManager().Undo(document);
    UndoManager().Redo(document);
    UndoManager().DropLast();
    UndoManager().Clear();
    const std::vector<TUndoChange> expected = {
        TUndoChange::Added,  TUndoChange::Restored, TUndoChange::Undone, TUndoChange::Restored,
        TUndoChange::Redone, TUndoChange::Dropped,  TUndoChange::Cleared};
    EXPECT_EQ(changes, expected);
}

TEST_F(Undo, RecordsStayWithinTheBudgetDroppingTheOldestButNeverTheNewest) {
    singlePages(4);
    for (int p = 0; p < 4; ++p)
        frame(p, 0)->SetPictureFile(photo(p % 2 ? "a.jpg" : "b.jpg", 400, 300, p + 1));
    UndoManager().Clear();
    DocumentEdits::RemovePicture(*frame(0, 0));
    const qint64 one = UndoManager().Bytes();
    ASSERT_GT(one, 10000); // the record holds the picture's bytes
    UndoManager().SetByteBudget(one * 5 / 2);
    DocumentEdits::RemovePicture(*frame(1, 0));
    DocumentEdits::RemovePicture(*frame(2, 0));
    EXPECT_EQ(UndoManager().Count(), 2);
    EXPECT_LE(UndoManager().Bytes(), UndoManager().ByteBudget());
    // The two newest are the ones kept.
    UndoManager().Undo(document);
    UndoManager().Undo(document);
    EXPECT_TRUE(frame(1, 0)->HasPicture());
    EXPECT_TRUE(frame(2, 0)->HasPicture());
    EXPECT_FALSE(frame(0, 0)->HasPicture());

    // A budget smaller than one record still keeps the newest.
    UndoManager().Clear();
    UndoManager().SetByteBudget(100);
    DocumentEdits::RemovePicture(*frame(3, 0));
    EXPECT_EQ(UndoManager().Count(), 1);
    UndoManager().Undo(document);
    EXPECT_TRUE(frame(3, 0)->HasPicture());
    expectCountsAgree();

    // The default: an eighth of the memory, within 256 MiB and 2 GiB.
    const qint64 defaultBudget = TUndoManager::DefaultByteBudget();
    EXPECT_GE(defaultBudget, 256LL << 20);
    EXPECT_LE(defaultBudget, 2048LL << 20);
}

TEST_F(Undo, RecordsHoldNoUseAndTheirPicturesComeBackByBytes) {
    singlePages(2);
    const QString path = photo("a.jpg", 120, 80);
    frame(0, 0)->SetPictureFile(path);
    frame(0, 1)->SetPictureFile(path);
    const int shared = frame(0, 0)->RefIndex;
    DocumentEdits::RemovePicture(*frame(0, 0));
    EXPECT_EQ(store().UseCount(shared), 1);        // the record added no use
    DocumentEdits::RotatePicture(*frame(0, 1), 1); // a half turn: same size and name, other bytes
    UndoManager().Undo(document);
    UndoManager().Undo(document);
    EXPECT_EQ(frame(0, 0)->RefIndex, frame(0, 1)->RefIndex);
    EXPECT_EQ(store().Find(frame(0, 0)->RefIndex)->FileName, path);
    expectCountsAgree();
}

TEST_F(Undo, APictureComesBackByItsBytesNotByAnEntryThatOnlyLooksTheSame) {
    singlePages(1);
    const QString path = photo("a.jpg", 120, 80);
    frame(0, 0)->SetPictureFile(path);
    const TBildManagerListItem* recorded = store().Find(frame(0, 0)->RefIndex);
    const QByteArray bytes = recorded->FileData;
    const double date = recorded->FileDate;
    const int fileSize = recorded->FileSize;
    DocumentEdits::RemovePicture(*frame(0, 0)); // the photo leaves the store
    ASSERT_EQ(store().Count(), 0);

    // Another entry with the same name, dates, sizes and byte count, but other bytes.
    const int impostor = store().AddFromFile(photo("b.jpg", 120, 80, 9));
    for (auto& entry : store().Entries) {
        entry->FileName = path;
        entry->FileDate = date;
        entry->FileSize = fileSize;
        entry->FileData = bytes;
        entry->FileData[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 0x55);
    }
    UndoManager().Undo(document);
    ASSERT_TRUE(frame(0, 0)->HasPicture());
    EXPECT_NE(frame(0, 0)->RefIndex, impostor);
    EXPECT_EQ(store().Find(frame(0, 0)->RefIndex)->FileData, bytes);
    store().Release(impostor);
}

TEST_F(Undo, ARecordThatDoesNotFitTheDocumentRestoresNothingAndGoes) {
    singlePages(2);
    auto* text = TestSupport::placeElement<TFBTextElement>(document.Pages.Items(1), 10, 10, 20, 10);
    DocumentEdits::SizeElement(*text, 50, 50, 0);
    document.Pages.Items(1)->Sizeables.Delete(0); // behind the history's back
    const QStringList before = TestSupport::canonicalForm(document);
    EXPECT_FALSE(UndoManager().Undo(document).Restored);
    EXPECT_EQ(TestSupport::canonicalForm(document), before);
    EXPECT_FALSE(UndoManager().CanUndo());
    EXPECT_FALSE(UndoManager().CanRedo());

    // Of the calendars "for all", each one that is gone is skipped and the rest restored.
    document.Reset();
    TestSupport::addPages(document, 3);
    for (TFBPage* page : document.Pages)
        TestSupport::placeElement<TFBKalenderElement>(page, 100, 200, 180, 80);
    TKalenderData look;
    TKalenderDataSnapshot(*document.Pages.Items(0)->Calendar(0)->Data).RestoreTo(look);
    const int32_t colour = look.Color;
    look.Color = 0x00ABCDEF;
    DocumentEdits::SetCalendarLookForAll(document, *document.Pages.Items(0)->Calendar(0), look);
    document.Pages.Delete(1);
    EXPECT_TRUE(UndoManager().Undo(document).Restored);
    EXPECT_EQ(document.Pages.Items(0)->Calendar(0)->Data->Color, colour);
    // The calendar now on page 1 takes what was recorded for page 1; the record's page 2 is
    // gone and skipped.
    EXPECT_EQ(document.Pages.Items(1)->Calendar(0)->Data->Color, colour);
}

TEST_F(Undo, AMissingPictureSectionGivesNoPictureAndNoEmptyEntry) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    TMemoryDataFile file(buffer);
    file.WriteInteger(QStringLiteral("Anderes"), QStringLiteral("Wert"), 1);
    file.BuildCache();
    const int entries = store().Count();
    EXPECT_EQ(store().AddForRestore(file, QStringLiteral("Bild")), -1);
    EXPECT_EQ(store().Count(), entries);
}

TEST_F(Undo, ARestoreThatFailsLosesTheRecordAndLeavesCountsRight) {
    singlePages(2);
    frame(0, 0)->SetPictureFile(png("a.png", 50, 40));
    frame(1, 0)->SetPictureFile(png("b.png", 40, 50));
    DocumentEdits::RemovePicture(*frame(0, 0)); // its picture leaves the store
    DocumentEdits::FillColour(*frame(0, 0), 0x00FF00);
    UndoManager().Undo(document); // something to redo, which the failure makes stale
    // The picture can no longer be decoded: out of memory, every time.
    store().SetDecoder([](const QByteArray&, const Imaging::TDecodeOptions&) {
        Imaging::TDecodeResult result;
        result.Status = Imaging::TImageStatus::OutOfMemory;
        return result;
    });
    EXPECT_THROW(UndoManager().Undo(document), Exception);
    store().SetDecoder(nullptr);
    EXPECT_FALSE(UndoManager().CanUndo());
    EXPECT_FALSE(UndoManager().CanRedo());
    EXPECT_FALSE(frame(0, 0)->HasPicture());
    expectCountsAgree();
}

TEST_F(Undo, ARecordThatCannotBeMadeRaisesBeforeTheChange) {
    singlePages(1);
    TFBPage loose(&document); // in no document list
    auto* stray = TestSupport::placeElement<TFBPictureElement>(&loose, 1, 1, 1, 1);
    EXPECT_THROW(DocumentEdits::FillColour(*stray, 0xFF), Exception);
    EXPECT_FALSE(stray->HasPicture());
    EXPECT_THROW(UndoManager().AddSeiteLoeschen(document, 5), Exception);
    const QStringList before = TestSupport::canonicalForm(document);
    EXPECT_THROW(DocumentEdits::DeleteView(document, 0), Exception);        // the last page stays
    EXPECT_THROW(DocumentEdits::RotatePicture(*frame(0, 0), 0), Exception); // no picture
    EXPECT_EQ(TestSupport::canonicalForm(document), before);
    EXPECT_FALSE(UndoManager().CanUndo());
}

} // namespace
