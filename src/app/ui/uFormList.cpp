#include "app/ui/uFormList.h"

#include "app/ui/FDlgInfo.h"
#include "app/ui/FMainform.h"
#include "app/ui/FProgressDlg.h"
#include "app/ui/FStartbild.h"
#include "app/ui/FWiederherstellungDlg.h"
#include "calendar/ui/FDlgFeiertagGeburtstag.h"
#include "calendar/ui/FKalenderPropDlg.h"
#include "catalogue/uDateiNeuWizzard.h"
#include "catalogue/ui/FDateiNeuDlg.h"
#include "document/uFotobuchDocument.h"
#include "filters/ui/FDlgFilter.h"
#include "filters/ui/FDlgRoteAugen.h"
#include "print/uPdfPrinter.h"
#include "print/ui/FDlgDruckAbbrechen.h"
#include "print/ui/FDruckDlg.h"
#include "print/ui/FDruckerEigenschaften.h"
#include "print/ui/FDruckpositionKnickDlg.h"
#include "print/ui/FKalibrierung.h"

#include <QDate>

#include <stdexcept>

namespace {

template <class Form>
TFormEntry entry(const char* section) {
    return {section,
            [](QWidget* owner) -> std::unique_ptr<QWidget> { return std::make_unique<Form>(owner); }};
}

// A form that works on an object of its caller (a document, a printer), created here with a
// sample of it. The holder keeps the sample while the form lives and deletes the form first.
template <class Sample>
class TFormWithSample : public QWidget {
public:
    TFormWithSample(QWidget* owner, std::unique_ptr<Sample> sample,
                    const std::function<QWidget*(QWidget* parent, Sample& sample)>& create)
        : QWidget(owner), sample_(std::move(sample)), form_(create(this, *sample_)) {}

private:
    std::unique_ptr<Sample> sample_;
    std::unique_ptr<QWidget> form_;
};

// A monthly calendar of the current year.
std::unique_ptr<TFBDocument> calendarSample() {
    auto document = std::make_unique<TFBDocument>();
    CreateProductDocument(*document, 61, QDate::currentDate().year(), WizardPageCount(61));
    return document;
}

TFBKalenderElement& firstCalendar(TFBDocument& document) {
    for (TFBPage* page : document.Pages)
        for (TFBElement* element : page->Calendars)
            return *static_cast<TFBKalenderElement*>(element);
    throw std::logic_error("the calendar product has no calendar");
}

std::unique_ptr<TPdfPrinter> printerSample() {
    auto printer = std::make_unique<TPdfPrinter>();
    printer->Select(printer->DefaultPrinterName());
    return printer;
}

template <class Sample>
TFormEntry withSample(const char* section, std::unique_ptr<Sample> (*sample)(),
                      QWidget* (*create)(QWidget* parent, Sample& sample)) {
    return {section, [sample, create](QWidget* owner) -> std::unique_ptr<QWidget> {
                return std::make_unique<TFormWithSample<Sample>>(owner, sample(), create);
            }};
}

} // namespace

const std::vector<TFormEntry>& AllForms() {
    static const std::vector<TFormEntry> forms{
        {"TMaster", [](QWidget*) -> std::unique_ptr<QWidget> { return std::make_unique<TMaster>(); }},
        entry<TDlgInfo>("TDlgInfo"),
        entry<TProgressDlg>("TProgressDlg"),
        {"TStartbild", [](QWidget*) -> std::unique_ptr<QWidget> { return std::make_unique<TStartbild>(); }},
        entry<TDlgDruckAbbrechen>("TDlgDruckAbbrechen"),
        entry<TVXDruckDlg>("TVXDruckDlg"),
        entry<TDruckpositionKnickDlg>("TDruckpositionKnickDlg"),
        entry<TKalibrierung>("TKalibrierung"),
        entry<TDlgFilterHKIG>("TDlgFilterHKIG"),
        entry<TDlgFilterHSL>("TDlgFilterHSL"),
        entry<TDlgFilterSWCol>("TDlgFilterSWCol"),
        entry<TDlgRoteAugen>("TDlgRoteAugen"),
        entry<TDateiNeuDlg>("TDateiNeuDlg"),
        withSample<TPdfPrinter>("TDruckerEigenschaftenDlg", printerSample,
                                [](QWidget* parent, TPdfPrinter& printer) -> QWidget* {
                                    return new TDruckerEigenschaftenDlg(printer, parent);
                                }),
        withSample<TFBDocument>("TKalenderPropDlg", calendarSample,
                                [](QWidget* parent, TFBDocument& document) -> QWidget* {
                                    return new TKalenderPropDlg(parent, firstCalendar(document));
                                }),
        withSample<TFBDocument>("TDlgFeiertagGeburtstag", calendarSample,
                                [](QWidget* parent, TFBDocument& document) -> QWidget* {
                                    const TFBKalenderElement& calendar = firstCalendar(document);
                                    return new TDlgFeiertagGeburtstag(parent, document, calendar.Data->Jahr,
                                                                      calendar.Data->Monat);
                                }),
        entry<TWiederherstellungDlg>("TWiederherstellungDlg"),
    };
    return forms;
}
