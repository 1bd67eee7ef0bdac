#pragma once

#include "print/uDeviceMode.h"

#include <QSizeF>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

class QPaintDevice;

// A paper a queue offers: its name, size in tenths of a millimetre, the paper number (the
// Windows number of a standard size, else 257 + its index) and the queue's page-size key, with
// the key of its zero-margin variant when the queue lists one.
struct TPaperInfo {
    QString Name;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::uint16_t PaperNumber = 0;
    QString Key;
    QString BorderlessKey;
};

// What a queue says about itself (device, driver, port, comment of the original platform).
struct TQueueDescription {
    QString Name;
    QString MakeAndModel;
    QString Location;
    QString Description;
    bool IsDefault = false;
};

// One option of a queue as the properties dialog offers it.
struct TQueueOption {
    QString Key;  // "PageSize", "MediaType", "Resolution", "ColorModel"
    QString Text; // the queue's own label
    QStringList Choices;
    QStringList ChoiceTexts;
    QString Default;
};

// "The current printer": the selected entry of a printer list with the settings it is driven
// with, and the print document it is painting. The program installs one (a PDF printer, a CUPS
// queue, or a fake one in tests); printer support, the print job and the dialogs work on it.
class TCurrentPrinter {
public:
    virtual ~TCurrentPrinter() = default;

    // The printer list.
    virtual QStringList PrinterNames() const = 0;
    virtual QString DefaultPrinterName() const = 0;
    const QString& SelectedName() const { return selected_; }
    // Selects a listed printer with its driver defaults; false (and nothing changes) otherwise.
    bool Select(const QString& name);
    virtual TQueueDescription Describe() const = 0;

    // The settings of the selected printer. A record fits when it was made for the same kind of
    // printer (same version and make-and-model); TakeDeviceMode refuses one that does not.
    bool HasDeviceMode() const { return deviceMode_.has_value(); }
    TDeviceMode& DeviceMode();
    const TDeviceMode& DeviceMode() const;
    bool Fits(const TDeviceMode& mode) const;
    bool TakeDeviceMode(const TDeviceMode& mode);
    void ResetDeviceMode();

    // The papers of the selected printer, followed by the forms registered on it during this run.
    std::vector<TPaperInfo> Papers() const;
    virtual bool SupportsCustomPageSizes() const = 0;
    // Registers a user form of w x h tenths of a millimetre; false when the printer takes no
    // custom sizes. A form of the same name is replaced.
    bool AddForm(const QString& name, std::int32_t w, std::int32_t h);
    void DeleteForm(const QString& name);
    virtual int MaxCopies() const = 0;
    virtual std::vector<TQueueOption> Options() const { return {}; }
    // The resolution a job renders at, in dots per inch.
    virtual int JobResolution() const;

    // The paper the device mode asks for, in millimetres, with its name (a paper of the list, a
    // form, a size of its own, else A4).
    struct TJobPaper {
        QString Name;
        QString Key;
        QSizeF SizeMM;
    };
    TJobPaper JobPaper() const;
    // A borderless job takes the zero-margin variant of its paper where the printer lists one.
    void SetBorderlessJob(bool borderless) { borderlessJob_ = borderless; }
    bool BorderlessJob() const { return borderlessJob_; }

    // The print document. BeginDocument returns the device to paint the first sheet on (owned by
    // the printer until the document ends); NewPage moves to the next sheet. EndDocument sends
    // the document and raises Exception when it cannot; AbortDocument sends nothing. A document
    // must not be painting when it ends or aborts.
    bool JobRunning() const { return jobRunning_; }
    QPaintDevice* BeginDocument(const QString& title);
    void NewPage();
    void EndDocument();
    void AbortDocument();

protected:
    virtual std::vector<TPaperInfo> DriverPapers() const = 0;
    virtual TDeviceMode DriverDefaults() const = 0;
    virtual QPaintDevice* OpenDocument(const QString& title) = 0;
    virtual void NextPage() = 0;
    virtual void CloseDocument() = 0;
    virtual void DiscardDocument() = 0;

private:
    QString selected_;
    std::optional<TDeviceMode> deviceMode_;
    std::map<QString, std::vector<TPaperInfo>> forms_; // by printer name
    bool jobRunning_ = false;
    bool borderlessJob_ = false;
};

// Builds the device mode of a paper: number, size and form name with their flags.
void FillPaper(TDeviceMode& mode, const TPaperInfo& paper, std::int32_t w, std::int32_t h);
