#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <vector>

class TCurrentPrinter;
class TDrawContext;
class TFBDocument;
class TFBElement;
class TFBPage;

// What the print dialog is shown with, and what it answers.
struct TPrintDialogRequest {
    int From = 1; // "von"
    int To = 1;   // "bis": the last page with content
    QString Hint;
    float Shift = -1.2f;
    QString SettingsKey;
    bool ShowFoldButton = false;
    TFBDocument* Document = nullptr;
    std::vector<bool>* PageSelection = nullptr;
};

struct TPrintDialogAnswer {
    int RangeMode = 0; // 0 all pages, 1 from-to
    int From = 1;
    int To = 1;
    int Copies = 1;
    float Shift = -1.2f;
};

// The questions and messages of a print job; the designer answers them with dialogs, the
// command line as its options say, tests as they please.
class TPrintUi {
public:
    virtual ~TPrintUi() = default;
    virtual void Information(const QString& text) = 0;
    virtual void Error(const QString& text) = 0;
    // Nothing when the user cancelled.
    virtual std::optional<TPrintDialogAnswer> AskPrintDialog(const TPrintDialogRequest& request) = 0;
    // The cancel dialog: shown or updated with a text, asked whether its button was pressed
    // (false before it exists), closed.
    virtual void ShowProgress(const QString& text) = 0;
    virtual bool IsCancelled() = 0;
    virtual void CloseProgress() = 0;
};

// One printed sheet, for whoever watches the job: its number from 1, and the 1-based pages on it
// (Upper 0 for a single page).
struct TPrintedSheet {
    int Sheet = 0;
    int Page = 0;
    int Upper = 0;
};

// Prints the document on the current printer: the paper from the product, the settings last used
// for the product, the print dialog, then every page in millimetres, folded products two pages
// to a sheet with the fold line moved by the shift. Elements that need what lies under them are
// rendered into a bitmap at no more than 365 dots per inch and stretched onto the sheet.
class TFotobuchPrinter {
public:
    enum class TOutcome { Printed, NothingToPrint, Cancelled, NotImplemented, Failed };

    TFotobuchPrinter(TFBDocument& document, TCurrentPrinter& printer, TPrintUi& ui);
    ~TFotobuchPrinter();
    TFotobuchPrinter(const TFotobuchPrinter&) = delete;
    TFotobuchPrinter& operator=(const TFotobuchPrinter&) = delete;

    // The whole print command; every outcome has been shown to the user when it returns.
    TOutcome Print();
    QString GetPrinterHint() const;
    void LoadPrintSettings();
    void SavePrintSettings();

    // "Druckeinstellung\" + the print setting's name; empty for print setting 0.
    QString SettingsKey() const;

    float RandlosverschiebungY = -1.2f;
    int FirstPage = 0;
    int LastPage = -1;
    int Copies = 1;
    std::vector<bool> PageSelection;

    // Off: the stored print settings are neither read nor written (the command line).
    bool UseSettingsStore = true;
    // Each page with content alone on a sheet of its own size: not imposed, turned or shifted.
    bool PrintShop = false;
    std::function<void(const TPrintedSheet&)> OnSheet;

    // The sheets printed by the last job, and the message it failed with.
    int SheetCount() const { return sheets_; }
    const QString& FailureMessage() const { return failure_; }

    // The fold-line shift as stored: the default unless it is a finite number within +-20 mm.
    static float ValidShift(double stored, float fallback);
    static constexpr float kMaxShift = 20.0f;
    // The smallest whole divisor that brings the resolution to 365 dpi or below.
    static int ResolutionDivisor(double dpi);
    // The print job's title: the application title without the characters that upset spoolers.
    static QString JobTitle(const QString& applicationTitle);

private:
    class TJob;
    TOutcome RunJob();
    int CountPages() const;

    TFBDocument& document_;
    TCurrentPrinter& printer_;
    TPrintUi& ui_;
    int sheets_ = 0;
    QString failure_;
};
