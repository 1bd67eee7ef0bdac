// Printer support over a fake printer: paper lookup with user forms under two locales, copies,
// colour, defaults, and the selection record with its failure paths; the device-mode record.
#include "print/FakePrinter.h"

#include "document/uStreamEncoding.h"
#include "print/uDeviceMode.h"
#include "print/uPdfPrinter.h"
#include "print/uPrinterSupport.h"

#include <QBuffer>
#include <QLocale>

#include <gtest/gtest.h>

using namespace PrintTest;

namespace {

class Support : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        support.Install(&printer);
        support.Warn = [this](const QString& text) { warnings << text; };
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    FakePrinter printer;
    TPrinterSupport support;
    QStringList warnings;
};

TEST_F(Support, PapersMatchWithinTwoTenthsAndUnknownSizesBecomeForms) {
    printer.papers.push_back({QStringLiteral("10x15"), 1016, 1524, 257, QStringLiteral("4x6"), QString()});
    support.SetPaperSizeMM(101.5f, 152.5f);
    EXPECT_EQ(printer.DeviceMode().PaperSize, 257);
    EXPECT_EQ(printer.DeviceMode().FormName, QStringLiteral("10x15"));
    EXPECT_EQ(printer.DeviceMode().PaperWidth, 1015);
    EXPECT_TRUE(printer.DeviceMode().Has(TDeviceMode::fFormName));

    // 20 tenths off is another paper: a form is registered, joins the list and is found again.
    support.SetPaperSizeMM(103.6f, 152.4f);
    EXPECT_EQ(printer.DeviceMode().FormName, QStringLiteral("ZK 103.60 x 152.40"));
    EXPECT_EQ(printer.DeviceMode().PaperSize, 258);
    EXPECT_EQ(printer.JobPaper().Name, QStringLiteral("ZK 103.60 x 152.40"));
    support.SetPaperSizeMM(103.6f, 152.4f);
    EXPECT_EQ(printer.DeviceMode().PaperSize, 258);
    EXPECT_EQ(printer.Papers().size(), 4u);

    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(TPrinterSupport::FormName(101.6f, 152.4f), QStringLiteral("ZK 101,60 x 152,40"));
    support.SetPaperSizeMM(90, 130);
    EXPECT_EQ(printer.DeviceMode().FormName, QStringLiteral("ZK 90,00 x 130,00"));
}

TEST_F(Support, WithoutCustomSizesAnUnknownSizeEndsWithA4) {
    printer.customSizes = false;
    EXPECT_TRUE(support.SetPaperSizeMM(76.2f, 101.6f));
    EXPECT_EQ(printer.DeviceMode().PaperSize, 9);
    EXPECT_EQ(printer.DeviceMode().PaperWidth, 2100);
    EXPECT_EQ(printer.JobPaper().Name, QStringLiteral("A4"));
}

TEST_F(Support, PaperNumbersCopiesAndColour) {
    EXPECT_TRUE(support.SetPaperNumber(5));
    EXPECT_EQ(printer.JobPaper().Name, QStringLiteral("Legal"));
    const TDeviceMode before = printer.DeviceMode();
    EXPECT_FALSE(support.SetPaperNumber(8)); // A3 is not listed
    EXPECT_EQ(printer.DeviceMode(), before);

    support.SetCopies(4);
    EXPECT_EQ(printer.DeviceMode().Copies, 4);
    EXPECT_TRUE(support.SetColorMode());
    EXPECT_EQ(printer.DeviceMode().Color, TDeviceMode::kColorColor);
    printer.DeviceMode().Fields &= ~TDeviceMode::fColor;
    EXPECT_FALSE(support.SetColorMode());

    printer.BeginDocument(QStringLiteral("x"));
    EXPECT_THROW(support.SetCopies(2), Exception);
    printer.AbortDocument();
}

TEST_F(Support, DefaultsKeepThePaper) {
    support.SetPaperSizeMM(150, 200);
    printer.DeviceMode().Copies = 9;
    printer.DeviceMode().SetOption(QStringLiteral("MediaType"), QStringLiteral("Glossy"));
    support.ResetToPrinterDefaults();
    EXPECT_EQ(printer.DeviceMode().Copies, 1);
    EXPECT_EQ(printer.DeviceMode().Option(QStringLiteral("MediaType")), QString());
    EXPECT_EQ(printer.JobPaper().Name, QStringLiteral("ZK 150.00 x 200.00"));
}

TEST_F(Support, SelectionRecordRoundTripsAndRefusesWhatNoLongerFits) {
    printer.Select(QStringLiteral("Buero"));
    support.SetPaperNumber(5);
    support.SetCopies(2);
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    support.SaveSelection(buffer);
    EXPECT_TRUE(buffer.data().startsWith("VXDEVMODE0001"));
    const TDeviceMode saved = printer.DeviceMode();

    printer.Select(QStringLiteral("Fotodrucker"));
    buffer.seek(0);
    EXPECT_TRUE(support.LoadSelection(buffer));
    EXPECT_EQ(printer.SelectedName(), QStringLiteral("Buero"));
    EXPECT_EQ(printer.DeviceMode(), saved);
    EXPECT_TRUE(warnings.isEmpty());

    // The printer is gone: the default printer with its defaults.
    FakePrinter other({QStringLiteral("Neu")});
    support.Install(&other);
    buffer.seek(0);
    EXPECT_FALSE(support.LoadSelection(buffer));
    EXPECT_EQ(other.SelectedName(), QStringLiteral("Neu"));
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains(QStringLiteral("\"Buero\" wurde nicht gefunden")));

    // Same name, another kind of printer: it stays selected with its own defaults.
    FakePrinter renamed({QStringLiteral("Fotodrucker"), QStringLiteral("Buero")});
    const QByteArray bytes = buffer.data();
    const QByteArray foreign = TDeviceMode{}.Serialize();
    support.Install(&renamed);
    QBuffer record;
    record.open(QIODevice::ReadWrite);
    record.write("VXDEVMODE0001");
    for (int i = 0; i < 4; ++i)
        StreamWriteString(record, QStringLiteral("Buero"));
    StreamWriteInt32(record, static_cast<int32_t>(foreign.size()));
    record.write(foreign);
    record.seek(0);
    EXPECT_FALSE(support.LoadSelection(record));
    EXPECT_EQ(renamed.SelectedName(), QStringLiteral("Buero"));
    EXPECT_EQ(renamed.DeviceMode().MakeAndModel, QStringLiteral("Modell Buero"));
    EXPECT_TRUE(warnings.last().contains(QStringLiteral("passt nicht zum Drucker: Buero")));

    // A wrong tag warns; a record that ends early raises.
    QBuffer wrong;
    wrong.setData("VXDEVMODE0002xxxx");
    wrong.open(QIODevice::ReadOnly);
    EXPECT_FALSE(support.LoadSelection(wrong));
    EXPECT_EQ(warnings.last(), QStringLiteral("Stream ist nicht richtig"));
    QBuffer cut;
    cut.setData(bytes.left(bytes.size() - 5));
    cut.open(QIODevice::ReadOnly);
    EXPECT_THROW(support.LoadSelection(cut), Exception);
}

TEST_F(Support, PrinterInfoAndMissingPrinter) {
    const QStringList info = support.GetPrinterInfo();
    ASSERT_EQ(info.size(), 12);
    EXPECT_EQ(info[1], QStringLiteral("Fotodrucker"));
    EXPECT_EQ(info[4], QStringLiteral("Modell Fotodrucker"));
    EXPECT_EQ(info[11], QStringLiteral("Standarddrucker"));
    EXPECT_EQ(support.GetPortName(), QStringLiteral("Flur"));

    TPrinterSupport none;
    EXPECT_THROW(none.SetCopies(1), Exception);
    try {
        none.Printer();
    } catch (const Exception& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Es ist kein Drucker installiert."));
    }
    EXPECT_FALSE(support.ShowPrinterProperties(nullptr)); // no dialog installed
    bool asked = false;
    support.PropertiesDialog = [&](TCurrentPrinter& p, QObject*) {
        asked = true;
        p.DeviceMode().SetOption(QStringLiteral("MediaType"), QStringLiteral("Glossy"));
        return true;
    };
    EXPECT_TRUE(support.ShowPrinterProperties(nullptr));
    EXPECT_TRUE(asked);
    EXPECT_EQ(printer.DeviceMode().Option(QStringLiteral("MediaType")), QStringLiteral("Glossy"));
}

TEST(DeviceMode, RoundTripsAndRefusesDamagedForeignOrOversizedRecords) {
    TDeviceMode mode;
    mode.QueueName = QStringLiteral("Fotodrucker");
    mode.MakeAndModel = QStringLiteral("Modell Ä");
    mode.Fields = TDeviceMode::fPaperSize | TDeviceMode::fFormName;
    mode.PaperSize = 258;
    mode.FormName = QStringLiteral("ZK 101,60 x 152,40");
    mode.Copies = 3;
    mode.Resolution = 1200;
    mode.SetOption(QStringLiteral("MediaType"), QStringLiteral("Glossy"));
    mode.SetOption(QStringLiteral("MediaType"), QStringLiteral("Matte"));
    const QByteArray bytes = mode.Serialize();
    ASSERT_EQ(TDeviceMode::Deserialize(bytes), mode);
    EXPECT_EQ(mode.Options.size(), 1u);

    for (qsizetype n = 0; n < bytes.size(); ++n)
        EXPECT_FALSE(TDeviceMode::Deserialize(bytes.left(n))) << n;
    EXPECT_FALSE(TDeviceMode::Deserialize(bytes + "x"));
    QByteArray foreign = bytes;
    foreign[4] = 2; // another version
    EXPECT_FALSE(TDeviceMode::Deserialize(foreign));
    EXPECT_FALSE(TDeviceMode::Deserialize(QByteArray(TDeviceMode::kMaxStoredSize + 1, 'T')));
    QByteArray huge = bytes;
    huge[8] = '\xff'; // a queue name claiming 2 GB
    huge[9] = '\xff';
    huge[10] = '\xff';
    huge[11] = '\x7f';
    EXPECT_FALSE(TDeviceMode::Deserialize(huge));
}

TEST(PdfPrinter, OffersTheStandardPapersAndWritesOnlyWhenTheDocumentEnds) {
    TPdfPrinter pdf;
    QStringList names;
    for (const TPaperInfo& p : pdf.Papers())
        names << p.Name + QLatin1Char(':') + QString::number(p.PaperNumber);
    EXPECT_EQ(names, QStringList({"A3:8", "A4:9", "A5:11", "A6:70", "Letter:1", "Legal:5"}));
    EXPECT_EQ(pdf.MaxCopies(), 1);
    EXPECT_EQ(pdf.JobResolution(), 1200);

    QBuffer out;
    out.open(QIODevice::WriteOnly);
    pdf.SetOutputDevice(&out);
    QPaintDevice* device = pdf.BeginDocument(QStringLiteral("Titel"));
    EXPECT_NEAR(device->width(), 9921, 6); // 210 mm at 1200 dpi, through whole points
    pdf.EndDocument();
    EXPECT_TRUE(out.data().startsWith("%PDF"));
}

} // namespace
