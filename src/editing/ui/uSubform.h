#pragma once

#include "editing/ui/uEditorPanel.h"

#include <QWidget>

// Base of the property panels below the page view: a borderless child of the main window that
// shows one element (none: nothing to show). It follows the element it shows: a change of that
// element refreshes it, a restored document makes it let go, because the element may be gone.
class TSubForm : public QWidget, public TEditorPanel {
    Q_OBJECT
public:
    explicit TSubForm(QWidget* parent = nullptr);

    TFBElement* Element() const { return element_; }

    const QObject* EventSource() const override { return this; }
    void SetElement(TFBElement* element) override;
    void ElementChanged(TFBElement* element, TFBPage* page) override;
    void DocumentRestored() override;

protected:
    // Shows the element's current state; called after every change of the element shown.
    virtual void Refresh() {}

private:
    TFBElement* element_ = nullptr;
};
