#include "editing/uDocumentBusy.h"

#include <utility>

namespace {
int gDepth = 0;
std::function<void()>& endedHandler() {
    static std::function<void()> handler;
    return handler;
}
} // namespace

TDocumentBusy::TDocumentBusy() {
    ++gDepth;
}

TDocumentBusy::~TDocumentBusy() {
    if (--gDepth == 0 && endedHandler())
        endedHandler()();
}

bool TDocumentBusy::Active() {
    return gDepth > 0;
}

void TDocumentBusy::SetEndedHandler(std::function<void()> handler) {
    endedHandler() = std::move(handler);
}
