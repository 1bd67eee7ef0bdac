#include "platform/uInfoausgabe.h"

TInfoAusgabe& TInfoAusgabe::instance() {
    static TInfoAusgabe output;
    return output;
}

void TInfoAusgabe::Info(const QString& text) {
    if (!target_)
        return;
    target_->SetStatusText(text);
    if (text.isEmpty())
        target_->HideProgress();
    else
        target_->ShowProgress(text);
}

void TInfoAusgabe::Status(const QString& text) {
    if (target_)
        target_->SetStatusText(text);
}
