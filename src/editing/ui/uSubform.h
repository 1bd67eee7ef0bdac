#pragma once

#include "editing/ui/uEditorPanel.h"

#include <QWidget>

// Base of the property panels below the page view: a borderless child of the main window that
// shows one element (none: the panel shows itself disabled). It follows the element it shows: a
// change of that element announced by another control refreshes it, a restored document makes it
// let go, because the element may be gone.
//
// A panel derives from it, builds its controls in the constructor, shows the element in Refresh
// (called after every SetElement and every change of the element from elsewhere) and, after each
// edit of its own, calls Announce so that the page view and the other panels follow. The main
// window relays the events of the multicaster to it and leaves it out of its own announcements.
class TSubForm : public QWidget, public TEditorPanel {
    Q_OBJECT
public:
    explicit TSubForm(QWidget* parent = nullptr);

    TFBElement* Element() const { return element_; }

    const QObject* EventSource() const override { return this; }
    // Shows the element (nullptr: nothing, the panel is disabled).
    void SetElement(TFBElement* element) override;
    void ElementChanged(TFBElement* element, TFBPage* page) override;
    void DocumentRestored() override;

protected:
    // Shows the element's current state; Element() may be nullptr.
    virtual void Refresh() {}
    // Tells the other controls that the panel changed its element.
    void Announce();

private:
    TFBElement* element_ = nullptr;
};
