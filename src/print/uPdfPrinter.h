#pragma once

#include "print/uCurrentPrinter.h"

#include <QString>

#include <memory>

class QIODevice;
class QPdfWriter;
class TAtomicFile;

// A PDF writer on the target for a job's paper: full page, portrait, no margins.
std::unique_ptr<QPdfWriter> OpenPdfWriter(QIODevice* target, const TCurrentPrinter::TJobPaper& paper, int dpi,
                                          const QString& title);

// A printer that writes PDF documents: A3, A4, A5, A6, Letter, Legal and any user form, painted
// full-page without margins at a fixed resolution (1200 dpi unless told), one copy per document.
// A document goes into a file, replaced only when the document ends normally, or into a device
// of the caller's.
class TPdfPrinter : public TCurrentPrinter {
public:
    static constexpr const char* kName = "PDF";
    static constexpr const char* kMakeAndModel = "Tintaro PDF";

    explicit TPdfPrinter(int dpi = 1200);
    ~TPdfPrinter() override;

    void SetOutputFile(const QString& path);
    void SetOutputDevice(QIODevice* device);
    const QString& OutputFile() const { return outputFile_; }
    int Dpi() const { return dpi_; }
    // The document's title as set when it began.
    const QString& Title() const { return title_; }

    QStringList PrinterNames() const override;
    QString DefaultPrinterName() const override;
    TQueueDescription Describe() const override;
    bool SupportsCustomPageSizes() const override { return true; }
    int MaxCopies() const override { return 1; }
    int JobResolution() const override { return dpi_; }

protected:
    std::vector<TPaperInfo> DriverPapers() const override;
    TDeviceMode DriverDefaults() const override;
    QPaintDevice* OpenDocument(const QString& title) override;
    void NextPage() override;
    void CloseDocument() override;
    void DiscardDocument() override;

private:
    int dpi_;
    QString outputFile_;
    QIODevice* outputDevice_ = nullptr;
    QString title_;
    std::unique_ptr<TAtomicFile> file_;
    std::unique_ptr<QPdfWriter> writer_;
    QIODevice* target_ = nullptr;
    qint64 startSize_ = 0;
};
