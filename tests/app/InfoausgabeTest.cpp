#include "platform/uDebug.h"
#include "platform/uInfoausgabe.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

// Records what the output asks of the main window, in order.
class RecordingTarget : public TInfoTarget {
public:
    QStringList calls;
    void SetStatusText(const QString& text) override { calls << QStringLiteral("status:") + text; }
    void ShowProgress(const QString& text) override { calls << QStringLiteral("show:") + text; }
    void HideProgress() override { calls << QStringLiteral("hide"); }
};

class InfoAusgabeTest : public ::testing::Test {
protected:
    void SetUp() override { InfoAusgabe().SetTarget(&target); }
    void TearDown() override { InfoAusgabe().SetTarget(nullptr); }
    RecordingTarget target;
};

} // namespace

TEST_F(InfoAusgabeTest, InfoShowsTextAndEmptyTextClosesTheProgressWindow) {
    InfoAusgabe().Info(QStringLiteral("Dokument wird geladen"));
    InfoAusgabe().InfoFmt(QStringLiteral("Seite %d wird gespeichert"), 3);
    InfoAusgabe().Info(QString());
    EXPECT_EQ(target.calls, (QStringList{QStringLiteral("status:Dokument wird geladen"),
                                         QStringLiteral("show:Dokument wird geladen"),
                                         QStringLiteral("status:Seite 3 wird gespeichert"),
                                         QStringLiteral("show:Seite 3 wird gespeichert"),
                                         QStringLiteral("status:"), QStringLiteral("hide")}));
}

TEST_F(InfoAusgabeTest, StatusLeavesTheProgressWindowAlone) {
    InfoAusgabe().Status(QStringLiteral("Seite wird geladen"));
    InfoAusgabe().Status(QString());
    EXPECT_EQ(target.calls,
              (QStringList{QStringLiteral("status:Seite wird geladen"), QStringLiteral("status:")}));
}

TEST_F(InfoAusgabeTest, FormatWithoutArgumentsKeepsPercentSigns) {
    InfoAusgabe().InfoFmt(QStringLiteral("100% fertig"));
    ASSERT_FALSE(target.calls.isEmpty());
    EXPECT_EQ(target.calls.first(), QStringLiteral("status:100% fertig"));
}

TEST(InfoAusgabeWithoutWindow, TextsGoNowhere) {
    InfoAusgabe().SetTarget(nullptr);
    InfoAusgabe().Info(QStringLiteral("Bilder werden geladen")); // must not crash
    InfoAusgabe().Status(QStringLiteral("x"));
    EXPECT_EQ(InfoAusgabe().Target(), nullptr);
}

TEST(DebugTrace, LinesCarryElapsedMillisecondsWithFourDigits) {
    QStringList lines;
    Debug().setSink([&lines](const QString& line) { lines << line; });
    Debug().Trace(QStringLiteral("Resize in LoadGPBitmap"));
    Debug().TraceFmt("Wheeldelta: %d", -120);
    Debug().setSink({});
    ASSERT_EQ(lines.size(), 2);
    const QRegularExpression pattern(QStringLiteral("^\\d{4,} Resize in LoadGPBitmap$"));
    EXPECT_TRUE(pattern.match(lines[0]).hasMatch()) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(" Wheeldelta: -120"))) << lines[1].toStdString();
}
