#include "platform/Exception.h"
#include "platform/uGuarded.h"
#include "platform/uInfoausgabe.h"

#include <QCursor>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class RecordingTarget : public TInfoTarget {
public:
    void SetStatusText(const QString& text) override { log << QStringLiteral("status ") + text; }
    void ShowProgress(const QString& text) override { log << QStringLiteral("progress ") + text; }
    void HideProgress() override { log << QStringLiteral("hide"); }
    void ShowError(const QString& message) override {
        // The report comes after the hourglass went.
        log << QStringLiteral("error %1 cursor %2")
                   .arg(message)
                   .arg(QGuiApplication::overrideCursor() != nullptr);
    }
    QStringList log;
};

class GuardedTest : public ::testing::Test {
protected:
    void SetUp() override { InfoAusgabe().SetTarget(&target); }
    void TearDown() override {
        InfoAusgabe().SetTarget(nullptr);
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    }
    RecordingTarget target;
};

} // namespace

TEST_F(GuardedTest, ACommandThatRunsThroughReportsNothing) {
    int runs = 0;
    EXPECT_TRUE(Guarded("Probe", [&runs] { ++runs; }));
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(target.log.isEmpty());
}

TEST_F(GuardedTest, AFailureTakesDownCursorAndProgressThenIsReportedOnce) {
    EXPECT_FALSE(Guarded("Laden", [] {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        InfoAusgabe().Info(QStringLiteral("Bild 1 wird geladen"));
        throw Exception(QStringLiteral("Bild a.jpg konnte nicht geladen werden."));
    }));
    EXPECT_EQ(target.log,
              (QStringList{QStringLiteral("status Bild 1 wird geladen"),
                           QStringLiteral("progress Bild 1 wird geladen"), QStringLiteral("status "),
                           QStringLiteral("hide"),
                           QStringLiteral("error Bild a.jpg konnte nicht geladen werden. cursor 0")}));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(GuardedTest, StandardExceptionsCountAndANestedFailureIsReportedOnlyOnce) {
    bool outerFinished = false;
    EXPECT_TRUE(Guarded("Aussen", [&] {
        EXPECT_FALSE(Guarded("Innen", [] { throw std::runtime_error("kein Speicher"); }));
        outerFinished = true;
    }));
    EXPECT_TRUE(outerFinished);
    EXPECT_EQ(target.log.filter(QStringLiteral("error")),
              QStringList{QStringLiteral("error kein Speicher cursor 0")});
}

TEST_F(GuardedTest, OtherThrownThingsAreNotSwallowed) {
    EXPECT_THROW(Guarded("Fremd", [] { throw 42; }), int);
    EXPECT_TRUE(target.log.isEmpty());
}
