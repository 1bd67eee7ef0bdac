// A real CUPS queue with cups-pdf: the test starts cupsd itself (and stops it again), adds a PDF
// queue, and checks that jobs of the designer's printer and of tintaro-cli print arrive as PDFs.
// It skips, saying why, where it cannot run a CUPS server.
#include "print/FakePrinter.h"

#include "catalogue/uDateiNeuWizzard.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "print/uCupsPrinter.h"
#include "print/uCupsQueue.h"
#include "support/PageElements.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace PrintTest;

namespace {

const QString kQueue = QStringLiteral("TintaroPDF");
const QString kOut = QStringLiteral("/tmp/cups-pdf");
const QString kPpd = QStringLiteral("lsb/usr/cups-pdf/CUPS-PDF_opt.ppd");

QString run(const QString& program, const QStringList& args, int* exitCode = nullptr) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError());
}

bool schedulerRunning() {
    return run(QStringLiteral("lpstat"), {QStringLiteral("-r")}).contains(QLatin1String("is running"));
}

QStringList pdfs() {
    return QDir(kOut).entryList({QStringLiteral("*.pdf")}, QDir::Files);
}

// Waits for a PDF that was not there before; cups-pdf writes it about half a second after lp.
QString newPdf(const QStringList& before) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 30000) {
        for (const QString& name : pdfs())
            if (!before.contains(name) && QFileInfo(kOut + u'/' + name).size() > 0) {
                QThread::msleep(300); // let cups-pdf finish writing it
                return kOut + u'/' + name;
            }
        QThread::msleep(100);
    }
    return {};
}

class CupsQueue : public ::testing::Test {
protected:
    void SetUp() override {
        if (geteuid() != 0)
            GTEST_SKIP() << "starting cupsd and adding a queue needs root";
        for (const char* file :
             {"/usr/sbin/cupsd", "/usr/sbin/lpadmin", "/usr/bin/lp", "/usr/lib/cups/backend/cups-pdf"})
            if (!QFileInfo::exists(QString::fromLatin1(file)))
                GTEST_SKIP() << file << " is missing (packages cups and printer-driver-cups-pdf)";
        QDir().mkpath(kOut);
        QFile::setPermissions(kOut, QFileDevice::Permissions(0x7777));
        // cups-pdf writes where its configuration says; the default is the user's home.
        QFile conf(QStringLiteral("/etc/cups/cups-pdf.conf"));
        if (conf.open(QIODevice::ReadOnly)) {
            QString text = QString::fromUtf8(conf.readAll());
            conf.close();
            const QString out = QStringLiteral("Out ") + kOut;
            if (!text.contains(QRegularExpression(QStringLiteral("^Out /tmp/cups-pdf$"),
                                                  QRegularExpression::MultilineOption))) {
                text.replace(
                    QRegularExpression(QStringLiteral("^#?Out .*$"), QRegularExpression::MultilineOption),
                    out);
                if (!text.contains(out))
                    text += u'\n' + out + u'\n';
                if (conf.open(QIODevice::WriteOnly | QIODevice::Truncate))
                    conf.write(text.toUtf8());
                conf.close();
            }
        }
        if (!schedulerRunning()) {
            cupsd_.start(QStringLiteral("/usr/sbin/cupsd"), {QStringLiteral("-f")});
            if (!cupsd_.waitForStarted(5000))
                GTEST_SKIP() << "cupsd does not start";
            QElapsedTimer clock;
            clock.start();
            while (!schedulerRunning() && clock.elapsed() < 15000)
                QThread::msleep(100);
            if (!schedulerRunning())
                GTEST_SKIP() << "cupsd did not come up within 15 s";
        }
        int code = 0;
        const QString answer =
            run(QStringLiteral("lpadmin"),
                {QStringLiteral("-p"), kQueue, QStringLiteral("-v"), QStringLiteral("cups-pdf:/"),
                 QStringLiteral("-E"), QStringLiteral("-m"), kPpd},
                &code);
        if (code != 0)
            GTEST_SKIP() << "lpadmin cannot add the cups-pdf queue: " << answer.toStdString();
        queueAdded_ = true;
    }
    void TearDown() override {
        if (queueAdded_)
            run(QStringLiteral("lpadmin"), {QStringLiteral("-x"), kQueue});
        if (cupsd_.state() != QProcess::NotRunning) {
            cupsd_.terminate();
            if (!cupsd_.waitForFinished(5000))
                cupsd_.kill();
            cupsd_.waitForFinished(2000);
        }
        TBildmanager::Instance().Clear();
    }

    QProcess cupsd_;
    bool queueAdded_ = false;
};

void fillBooklet(TFBDocument& doc) {
    ASSERT_TRUE(CreateProductDocument(doc, 1, 2026, 2));
    QImage photo(80, 60, QImage::Format_RGB32);
    photo.fill(qRgb(40, 90, 200));
    for (int i = 0; i < 2; ++i) {
        doc.Pages.Items(i)->Pictures.Clear();
        doc.Pages.Items(i)->Sizeables.Clear();
        TestSupport::placeElement<TFBPictureElement>(doc.Pages.Items(i), 38, 50, 60, 80)
            ->SetRefIndex(TBildmanager::Instance().AddBitmap(photo));
    }
}

TEST_F(CupsQueue, JobsOfTheDesignerAndOfTheCommandLineArriveAsPdfs) {
    const TCupsQueue queue = Cups::Describe(kQueue);
    ASSERT_TRUE(queue.Exists);
    EXPECT_FALSE(queue.Description.MakeAndModel.isEmpty());
    bool a4 = false;
    for (const TPaperInfo& p : queue.Papers())
        a4 = a4 || (p.PaperNumber == 9 && std::abs(p.Width - 2100) < 2);
    EXPECT_TRUE(a4);
    EXPECT_FALSE(Cups::Describe(QStringLiteral("GibtEsNicht")).Exists);

    TFBDocument doc;
    fillBooklet(doc);
    TCupsPrinter printer;
    ASSERT_TRUE(printer.Select(kQueue));
    printer.SetResolution(150);
    FakeUi ui;
    TFotobuchPrinter job(doc, printer, ui);
    job.UseSettingsStore = false;
    QStringList before = pdfs();
    ASSERT_EQ(job.Print(), TFotobuchPrinter::TOutcome::Printed) << ui.errors.join(u' ').toStdString();
    EXPECT_TRUE(printer.LastRequestId().startsWith(kQueue + u'-')) << printer.LastRequestId().toStdString();
    const QString designer = newPdf(before);
    ASSERT_FALSE(designer.isEmpty()) << "no PDF from the designer's job in " << kOut.toStdString();
    QFile file(designer);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(4) == "%PDF");

    QTemporaryDir dir;
    const QString project = dir.filePath(QStringLiteral("heft.fbp"));
    SaveDocumentToFile(doc, project);
    doc.Reset();
    before = pdfs();
    const auto r = TestSupport::runCli({"print", project, "--printer", kQueue, "--dpi", "150"});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_TRUE(r.out.contains("sheets: 1\njob: " + kQueue.toUtf8() + "-")) << r.out.constData();
    EXPECT_FALSE(newPdf(before).isEmpty()) << "no PDF from tintaro-cli print";

    const auto unknown = TestSupport::runCli({"print", project, "--printer", "GibtEsNicht"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.err, "tintaro-cli: unknown printer GibtEsNicht\n");
}

} // namespace
