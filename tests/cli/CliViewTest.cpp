#include "support/TestSupport.h"

#include "JsonKeyOrder.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "support/PageElements.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using TestSupport::runCli;

namespace {

// A book of 216 x 135 mm pages: page 0 alone in view 0, then (1, 2) in view 1.
QString writeBook(const QTemporaryDir& dir) {
    TFBDocument doc;
    doc.Reset();
    doc.ScreenMode = 1;
    doc.PageWidth = 216;
    doc.PageHeight = 135;
    doc.Stegbreite = 2;
    doc.Umschlagbreite = 4;
    TestSupport::addPages(doc, 3);
    const QString path = dir.filePath("buch.fbp");
    SaveDocumentToFile(doc, path);
    return path;
}

QJsonObject json(const TestSupport::CliResult& r) {
    return QJsonDocument::fromJson(r.out).object();
}

TEST(CliView, ReportsTheViewStateInAFixedOrder) {
    QTemporaryDir dir;
    const QString book = writeBook(dir);
    const auto r = runCli({"view", book, "--view", "1", "--size", "1200x800"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(keysInOrder(r.out), (QStringList{"view", "zoom", "fit", "virtual", "scroll", "range",
                                               "selected", "tracker", "cursor", "undo", "modified"}));
    const QJsonObject o = json(r);
    EXPECT_EQ(o["view"].toInt(), 1);
    EXPECT_EQ(o["zoom"].toDouble(), 1);
    EXPECT_NEAR(o["fit"].toDouble(), 1140.0 / (2 * 216 + 2 + 8), 1e-4);
    EXPECT_EQ(o["virtual"].toArray(), (QJsonArray{1199, 799}));
    EXPECT_EQ(o["range"].toArray(), (QJsonArray{0, 0}));
    EXPECT_TRUE(o["selected"].isNull());
    EXPECT_TRUE(o["tracker"].isNull());
    EXPECT_EQ(o["cursor"].toString(), "default");
    EXPECT_FALSE(o["modified"].toBool());
}

TEST(CliView, StepsSelectDragKeyAndZoomThroughTheView) {
    QTemporaryDir dir;
    const QString book = writeBook(dir);
    const QByteArray before = TestSupport::readFile(book);
    // The text lands at the middle of the right page; the view maps mm to pixels by the fit.
    const double fit = 1140.0 / 442;
    const int cx = static_cast<int>(600 - 0.5 + (4 + 216 + 2 + 108 - 221) * fit);
    const int cy = static_cast<int>(400 - 0.5 + (4 + 67.5 - 71.5) * fit);
    const QString at = QStringLiteral("%1,%2").arg(cx).arg(cy);
    const QString png = dir.filePath("view.png");
    auto r = runCli({"view", book, "--view", "1", "--size", "1200x800", "--dpr", "1.5", "--png", png,
                     "text:2,108,67.5,60,20,0", "click:" + at,
                     QStringLiteral("drag:%1/%2,%3/%4,%3").arg(at).arg(cx + 20).arg(cy).arg(cx + 40),
                     "key:Right", "hover:" + at});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QJsonObject o = json(r);
    const QJsonObject selected = o["selected"].toObject();
    EXPECT_EQ(selected["page"].toInt(), 2);
    EXPECT_EQ(selected["list"].toString(), "sizeables");
    EXPECT_EQ(selected["index"].toInt(), 0);
    EXPECT_NEAR(selected["CenterX"].toDouble(), 108 + 40 / fit + 1, 0.5);
    EXPECT_EQ(o["tracker"].toObject()["CenterX"].toDouble(), selected["CenterX"].toDouble());
    EXPECT_TRUE(o["modified"].toBool());
    const QImage shown(png);
    EXPECT_EQ(shown.size(), QSize(1800, 1200));
    // Without --save the project stays as it was.
    EXPECT_EQ(TestSupport::readFile(book), before);

    // Ctrl+wheel zooms at the mouse, the plain wheel then scrolls.
    r = runCli(
        {"view", book, "--view", "1", "--size", "1200x800", "ctrl-wheel:600,400,-1200", "wheel:600,400,120"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    o = json(r);
    EXPECT_NEAR(o["zoom"].toDouble(), std::pow(1.05, 10), 1e-4);
    EXPECT_GT(o["range"].toArray()[0].toInt(), 0);
    EXPECT_NEAR(o["scroll"].toArray()[1].toInt(), o["range"].toArray()[1].toInt() / 2 - 30, 1);
    EXPECT_FALSE(o["modified"].toBool());
}

TEST(CliView, SaveWritesOnlyAModifiedProject) {
    QTemporaryDir dir;
    const QString book = writeBook(dir);
    const QByteArray before = TestSupport::readFile(book);
    auto r = runCli({"view", book, "--view", "1", "--size", "800x600", "--save", "click:400,300", "zoom:2"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(TestSupport::readFile(book), before);
    // An element moved by keys is a change worth saving.
    r = runCli({"view", book, "--view", "1", "--size", "800x600", "--save", "text:1,50,50,30,10,0", "key:Tab",
                "key:Down"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_NE(TestSupport::readFile(book), before);
    TFBDocument doc;
    LoadDocumentFromFile(doc, book);
    ASSERT_EQ(doc.Pages.Items(1)->Sizeables.Count(), 1);
    EXPECT_FLOAT_EQ(doc.Pages.Items(1)->Sizeables.Items(0)->CenterY, 51);
}

TEST(CliView, BadInputExitsWithTwoAndLeavesTheFile) {
    QTemporaryDir dir;
    const QString book = writeBook(dir);
    const QByteArray before = TestSupport::readFile(book);
    const QList<QStringList> bad = {
        {"view", book, "--view", "1"},
        {"view", book, "--view", "9", "--size", "800x600"},
        {"view", book, "--view", "1", "--size", "99x600"},
        {"view", book, "--view", "1", "--size", "800x4001"},
        {"view", book, "--view", "1", "--size", "800"},
        {"view", book, "--view", "1", "--size", "800x600", "--dpr", "3.5"},
        {"view", book, "--view", "1", "--size", "800x600", "--dpr", "0.5"},
        {"view", book, "--view", "1", "--size", "800x600", "--save", "key:PageUp"},
        {"view", book, "--view", "1", "--size", "800x600", "--save", "drag:1,2"},
        {"view", book, "--view", "1", "--size", "800x600", "--save", "click:1,nan"},
        {"view", book, "--view", "1", "--size", "800x600", "--save", "text:7,1,1,1,1,0"},
        {"view", book, "--view", "1", "--size", "800x600", "--save", "spin:3"},
        {"view", dir.filePath("fehlt.fbp"), "--view", "0", "--size", "800x600"},
    };
    for (const QStringList& args : bad) {
        const auto r = runCli(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << args.join(' ').toStdString();
    }
    EXPECT_EQ(TestSupport::readFile(book), before);
    // Absurd wheel deltas end at the zoom limit.
    const auto r =
        runCli({"view", book, "--view", "1", "--size", "800x600", "ctrl-wheel:400,300,-99999999999"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(json(r)["zoom"].toDouble(), 8);
}

} // namespace
