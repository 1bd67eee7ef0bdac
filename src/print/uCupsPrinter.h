#pragma once

#include "print/uCupsQueue.h"
#include "print/uCurrentPrinter.h"

#include <QString>

#include <memory>

class QPdfWriter;
class QTemporaryFile;

// The CUPS queues as the current printer. A job renders through a PDF writer into a private
// temporary file (at the queue's highest listed resolution, else 1200 dpi) and reaches the queue
// through lp only when it ends normally, so a cancelled or failed job sends nothing.
class TCupsPrinter : public TCurrentPrinter {
public:
    TCupsPrinter();
    ~TCupsPrinter() override;

    QStringList PrinterNames() const override;
    QString DefaultPrinterName() const override;
    TQueueDescription Describe() const override;
    bool SupportsCustomPageSizes() const override;
    int MaxCopies() const override { return 9999; }
    std::vector<TQueueOption> Options() const override;
    int JobResolution() const override;

    // Renders jobs at this resolution instead of the queue's own (0: the queue's).
    void SetResolution(int dpi) { resolution_ = dpi; }

    // lp's request id of the last job ("QUEUE-N").
    const QString& LastRequestId() const { return requestId_; }
    // The arguments lp is called with for the file (without the program name).
    QStringList LpArguments(const QString& file) const;

protected:
    std::vector<TPaperInfo> DriverPapers() const override;
    TDeviceMode DriverDefaults() const override;
    QPaintDevice* OpenDocument(const QString& title) override;
    void NextPage() override;
    void CloseDocument() override;
    void DiscardDocument() override;

private:
    const TCupsQueue& Queue() const;

    mutable QString describedName_;
    mutable TCupsQueue queue_;
    QString title_;
    QString requestId_;
    int resolution_ = 0;
    std::unique_ptr<QTemporaryFile> file_;
    std::unique_ptr<QPdfWriter> writer_;
};
