#include "document/uColorList.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "editing/uMulticaster.h"
#include "editing/uUndo.h"
#include "i18n/ulocalize.h"
#include "platform/uInfoausgabe.h"
#include "support/GuiTest.h"

#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QObject>
#include <QPointer>

#include <gtest/gtest.h>

namespace {

class CountingTarget : public TInfoTarget {
public:
    void SetStatusText(const QString&) override { ++calls; }
    void ShowProgress(const QString&) override { ++calls; }
    void HideProgress() override { ++calls; }
    int calls = 0;
};

} // namespace

// What one window test leaves in the process-wide instances must not reach the next one.
TEST(ProcessWideState, ResetClearsEveryInstanceATestCanLeaveBehind) {
    TestSupport::TempHome home;
    UndoManager().Add(std::make_unique<TUndoItem>());
    int events = 0;
    const TMulticaster::TSubscription left = Multicaster().Subscribe(
        {[&events](const QObject*, TFBElement*, TFBPage*) { ++events; },
         [&events](const QObject*, int) { ++events; }, [&events](const QObject*) { ++events; }});
    CountingTarget target;
    InfoAusgabe().SetTarget(&target);
    QImage red(4, 4, QImage::Format_ARGB32);
    red.fill(Qt::red);
    TBildmanager::Instance().AddBitmap(red);
    TColorList::Instance().SetItem(3, 0x123456);
    SetCurrentLanguage(kLanguageFrench);
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    QPointer<QObject> doomed = new QObject;
    doomed->deleteLater();

    TestSupport::ResetProcessWideState();

    EXPECT_FALSE(UndoManager().CanUndo());
    TFBDocument document;
    document.Pages.Add(std::make_unique<TFBPage>(&document));
    Multicaster().ViewSelected(nullptr, 0);
    Multicaster().PagesChanged(nullptr);
    Multicaster().NotifyViewChanged(nullptr, &document, 0);
    EXPECT_EQ(events, 0);
    EXPECT_FALSE(left.Active());
    InfoAusgabe().Info(QStringLiteral("Fertig"));
    EXPECT_EQ(target.calls, 0);
    EXPECT_EQ(TBildmanager::Instance().Count(), 0);
    EXPECT_EQ(TColorList::Instance().UsedCount(), 0);
    EXPECT_EQ(CurrentLanguage(), kLanguageGerman);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(doomed.isNull());
}
