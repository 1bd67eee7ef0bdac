// tintaro-cli export-pdf and calibration-sheet: the job's report, the PDF it writes, and bad
// input that leaves the target untouched.
#include "support/TestSupport.h"

#include "catalogue/uDateiNeuWizzard.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "support/PageElements.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using TestSupport::runCli;

namespace {

// A pocket booklet of the given page count with a photo on every page but the empty ones.
QString writeBooklet(const QTemporaryDir& dir, int pages, const QList<int>& empty = {}) {
    TFBDocument doc;
    EXPECT_TRUE(CreateProductDocument(doc, 1, 2026, pages));
    const QString photo = dir.filePath("foto.png");
    QImage image(60, 40, QImage::Format_RGB32);
    image.fill(qRgb(30, 120, 200));
    image.save(photo);
    for (int i = 0; i < doc.Pages.Count(); ++i) {
        TFBPage* page = doc.Pages.Items(i);
        page->Pictures.Clear();
        page->Sizeables.Clear();
        if (!empty.contains(i + 1))
            TestSupport::placeElement<TFBPictureElement>(page, 38, 50, 60, 80)->SetPictureFile(photo);
    }
    const QString path = dir.filePath("heft.fbp");
    SaveDocumentToFile(doc, path);
    doc.Reset();
    return path;
}

int pdfPages(const QByteArray& pdf) {
    return static_cast<int>(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") +
                            pdf.count("/Type /Page ") + pdf.count("/Type /Page/") +
                            pdf.count("/Type /Page>"));
}

TEST(CliExportPdf, ReportsPaperFoldLineAndSheetsOfABooklet) {
    QTemporaryDir dir;
    const QString project = writeBooklet(dir, 6);
    const QString out = dir.filePath("heft.pdf");
    const auto r = runCli({"export-pdf", project, out, "--dpi", "300"});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(QString::fromUtf8(r.out), QStringLiteral("paper: ZK 101.60 x 152.40 101.6 x 152.4 mm\n"
                                                       "borderless: yes\n"
                                                       "fold line: 75.0 mm from the top edge\n"
                                                       "sheet 1: upper 2, lower 1\n"
                                                       "sheet 2: upper 4, lower 3\n"
                                                       "sheet 3: upper 6, lower 5\n"
                                                       "sheets: 3\n"));
    const QByteArray pdf = TestSupport::readFile(out);
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(pdfPages(pdf), 3);

    const auto shifted = runCli({"export-pdf", project, out, "--dpi", "150", "--calibration", "20", "--from",
                                 "3", "--to", "3", "--copies", "2"});
    ASSERT_EQ(shifted.exitCode, 0) << shifted.err.constData();
    EXPECT_TRUE(shifted.out.contains("fold line: 74.3 mm from the top edge\n")) << shifted.out.constData();
    EXPECT_TRUE(shifted.out.contains("sheet 2: upper 4, lower 3\nsheets: 2\n")) << shifted.out.constData();
}

TEST(CliExportPdf, PrintShopPutsEachPageAloneOnItsOwnSize) {
    QTemporaryDir dir;
    const QString project = writeBooklet(dir, 4, {2});
    const QString out = dir.filePath("shop.pdf");
    const auto r = runCli({"export-pdf", project, out, "--print-shop", "--dpi", "150"});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(QString::fromUtf8(r.out), QStringLiteral("paper: ZK 76.20 x 101.60 76.2 x 101.6 mm\n"
                                                       "borderless: yes\n"
                                                       "sheet 1: page 1\n"
                                                       "sheet 2: page 3\n"
                                                       "sheet 3: page 4\n"
                                                       "sheets: 3\n"));
}

TEST(CliExportPdf, RefusesBadInputAndLeavesTheTargetUntouched) {
    QTemporaryDir dir;
    const QString project = writeBooklet(dir, 4, {1, 2, 3, 4});
    const QString out = dir.filePath("alt.pdf");
    TestSupport::writeFile(out, "old");
    const auto empty = runCli({"export-pdf", project, out});
    EXPECT_EQ(empty.exitCode, 2);
    EXPECT_EQ(empty.err, "tintaro-cli: Es sind keine Elemente zum Drucken vorhanden.\n");
    EXPECT_EQ(TestSupport::readFile(out), "old");

    const QString full = writeBooklet(dir, 4);
    for (const QStringList& bad : {QStringList{"--copies", "0"},
                                   {"--copies", "1001"},
                                   {"--fold-shift", "20.5"},
                                   {"--calibration", "51"},
                                   {"--fold-shift", "1", "--calibration", "3"},
                                   {"--dpi", "71"},
                                   {"--dpi", "4801"},
                                   {"--from", "x"},
                                   {"--bogus"}}) {
        const auto r = runCli(QStringList{"export-pdf", full, out} + bad);
        EXPECT_EQ(r.exitCode, 2) << bad.join(' ').toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.constData();
        EXPECT_EQ(TestSupport::readFile(out), "old");
    }
    EXPECT_EQ(runCli({"export-pdf", dir.filePath("fehlt.fbp"), out}).exitCode, 2);
    // "von" after "bis" leaves no sheet.
    const auto reversed = runCli({"export-pdf", full, out, "--from", "4", "--to", "2"});
    EXPECT_EQ(reversed.exitCode, 2);
    EXPECT_EQ(TestSupport::readFile(out), "old");
}

TEST(CliCalibrationSheet, BothPassesOnTwoPagesOneOrBothOnOne) {
    QTemporaryDir dir;
    const QString out = dir.filePath("kal.pdf");
    const auto both = runCli({"calibration-sheet", out, "--dpi", "150"});
    ASSERT_EQ(both.exitCode, 0) << both.err.constData();
    EXPECT_EQ(both.out, "paper: A4 210.0 x 297.0 mm\npages: 2\n");
    EXPECT_EQ(pdfPages(TestSupport::readFile(out)), 2);
    const auto one = runCli({"calibration-sheet", out, "--pass", "2", "--dpi", "150"});
    EXPECT_EQ(one.out, "paper: A4 210.0 x 297.0 mm\npages: 1\n");
    const auto overlay = runCli({"calibration-sheet", out, "--overlay", "--dpi", "150"});
    EXPECT_EQ(overlay.out, "paper: A4 210.0 x 297.0 mm\npages: 1\n");
    EXPECT_EQ(pdfPages(TestSupport::readFile(out)), 1);
    const auto clash = runCli({"calibration-sheet", out, "--overlay", "--pass", "1"});
    EXPECT_EQ(clash.exitCode, 2);
    EXPECT_EQ(clash.err, "tintaro-cli: --pass and --overlay exclude each other\n");
    EXPECT_EQ(runCli({"calibration-sheet", out, "--pass", "3"}).exitCode, 2);
}

} // namespace
