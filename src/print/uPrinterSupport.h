#pragma once

#include "print/uCurrentPrinter.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <vector>

class QIODevice;
class QObject;

// Everything the print job and the dialogs do with the current printer beyond drawing: driver
// defaults, the properties dialog, copies, paper and colour in the device mode, the paper list
// with user forms, the printer's description, and the whole selection as a small byte record.
class TPrinterSupport {
public:
    static constexpr const char* kSelectionTag = "VXDEVMODE0001";

    // The printer the program installed; raises "Es ist kein Drucker installiert." without one.
    TCurrentPrinter& Printer() const;
    bool HasPrinter() const { return printer_ != nullptr; }
    void Install(TCurrentPrinter* printer) { printer_ = printer; }

    // Where the two warnings of LoadSelection go (the designer shows them in a message box).
    std::function<void(const QString&)> Warn;
    // The queue options dialog; true when the user confirmed (the dialog changed the device mode).
    std::function<bool(TCurrentPrinter&, QObject* parent)> PropertiesDialog;

    void ResetToPrinterDefaults();
    bool ShowPrinterProperties(QObject* parent);
    // Server, printer, share, port, driver, comment, location, separator file, print processor,
    // data type, parameters and "Standarddrucker" for the default printer.
    QStringList GetPrinterInfo() const;
    QString GetDeviceName() const;
    QString GetPortName() const;
    int MaxCopies() const;
    void SetCopies(int n);
    bool SetPaperNumber(int paper);
    bool SetPaperSizeMM(float width, float height);
    void ReadPaperList();
    int FindPaper(std::int32_t width, std::int32_t height) const;
    bool SetColorMode();
    void SaveSelection(QIODevice& stream) const;
    bool LoadSelection(QIODevice& stream);

    const std::vector<TPaperInfo>& PaperList() const { return papers_; }
    // "ZK %.2f x %.2f" with the decimal separator of the user's locale.
    static QString FormName(float width, float height);

private:
    void Warning(const QString& text) const;
    void FillFromPaper(int index, std::int32_t w, std::int32_t h);

    TCurrentPrinter* printer_ = nullptr;
    std::vector<TPaperInfo> papers_;
};

// The one printer support of the process.
TPrinterSupport& PrinterSupport();
