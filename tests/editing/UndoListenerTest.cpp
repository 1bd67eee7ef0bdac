#include "document/uFotobuchDocument.h"
#include "editing/uUndo.h"
#include "support/PageElements.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class RenamingItem : public TUndoItem {
public:
    bool Restore(TFBDocument& document) override {
        document.Dokumentname = QStringLiteral("vorher");
        return true;
    }
};

class LoggingPlace : public TUndoUIState {
public:
    explicit LoggingPlace(QStringList& log) : log_(log) {}
    int CurrentView() const override { return 0; }
    TFBElement* SelectedElement() const override { return nullptr; }
    void ShowPlace(int view, TFBElement*) override { log_ << QStringLiteral("place %1").arg(view); }

private:
    QStringList& log_;
};

} // namespace

// Views and panels let go of freed elements on Restored; the selection the record brings back is
// shown after it, so it survives.
TEST(UndoRestoredNotice, ComesAfterTheRestoreAndBeforeThePlaceIsShown) {
    TFBDocument document;
    TestSupport::addPages(document, 1);
    QStringList log;
    LoggingPlace place(log);
    UndoManager().Clear();
    UndoManager().SetUIState(&place);
    UndoManager().OnChanged = [&](TUndoChange change) {
        if (change == TUndoChange::Restored)
            log << QStringLiteral("restored ") + document.Dokumentname;
        else if (change == TUndoChange::Undone)
            log << QStringLiteral("undone");
    };
    UndoManager().Add(std::make_unique<RenamingItem>());
    UndoManager().Undo(document);
    EXPECT_EQ(log, (QStringList{QStringLiteral("restored vorher"), QStringLiteral("place 0"),
                                QStringLiteral("undone")}));

    UndoManager().OnChanged = nullptr;
    UndoManager().SetUIState(nullptr);
    UndoManager().Clear();
}
