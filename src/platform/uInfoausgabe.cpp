#include "platform/uInfoausgabe.h"

#include <cstdio>

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

namespace {
void writeToStandardError(const QString& message) {
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}
} // namespace

void TInfoTarget::ShowError(const QString& message) {
    writeToStandardError(message);
}

void TInfoAusgabe::Error(const QString& message) {
    if (target_)
        target_->ShowError(message);
    else
        writeToStandardError(message);
}
