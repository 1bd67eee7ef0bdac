#pragma once

#include <functional>

// While a long operation shows its progress and lets events through (loading many photos,
// opening a project, printing), the document can be half built. Such an operation holds a
// TDocumentBusy for its duration; views and panels paint what they showed last while one is held
// and are told to catch up when the last one ends. Scopes nest; user-interface thread only.
class TDocumentBusy {
public:
    TDocumentBusy();
    ~TDocumentBusy();
    TDocumentBusy(const TDocumentBusy&) = delete;
    TDocumentBusy& operator=(const TDocumentBusy&) = delete;

    static bool Active();
    // Called when the outermost scope ends; the main window repaints its views there.
    static void SetEndedHandler(std::function<void()> handler);
};
