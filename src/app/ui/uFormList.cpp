#include "app/ui/uFormList.h"

#include "app/ui/FDlgInfo.h"
#include "app/ui/FMainform.h"
#include "app/ui/FProgressDlg.h"
#include "app/ui/FStartbild.h"
#include "filters/ui/FDlgFilter.h"
#include "filters/ui/FDlgRoteAugen.h"
#include "print/ui/FDlgDruckAbbrechen.h"
#include "print/ui/FDruckDlg.h"
#include "print/ui/FDruckpositionKnickDlg.h"
#include "print/ui/FKalibrierung.h"

namespace {

template <class Form>
TFormEntry entry(const char* section) {
    return {section,
            [](QWidget* owner) -> std::unique_ptr<QWidget> { return std::make_unique<Form>(owner); }};
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
    };
    return forms;
}
