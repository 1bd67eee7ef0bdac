#pragma once

class QObject;
class TFBElement;
class TFBPage;

// What the main window tells every panel beside and below the page view (pages panel, property
// panels, picture browsers, layout and colour lists). The main window keeps a list of them and
// relays each event of the multicaster to every panel but the event's source, so a panel is
// never told about its own change. A panel does nothing for an event it does not care about.
//
// Adding a panel: derive its widget from this interface, override what it follows, and hand it to
// TMaster::AddPanel; the relay reaches it from then on.
class TEditorPanel {
public:
    virtual ~TEditorPanel() = default;

    // The object the panel passes as the source of its own multicaster events.
    virtual const QObject* EventSource() const = 0;

    // The page view's selection changed; only the property panel that fits the element is told.
    virtual void SetElement(TFBElement* element) {}
    // An element (or, for no element, something else) on the page changed.
    virtual void ElementChanged(TFBElement* element, TFBPage* page) {}
    // The page view and the pages panel show another view.
    virtual void ViewSelected(int viewIndex) {}
    // Pages were inserted or deleted.
    virtual void PagesChanged() {}
    // Undo brought back a recorded state, or the document was replaced (new, open, close): the
    // elements a panel held may be gone, so it lets go of them and shows the document anew.
    virtual void DocumentRestored() {}

protected:
    TEditorPanel() = default;
    TEditorPanel(const TEditorPanel&) = default;
    TEditorPanel& operator=(const TEditorPanel&) = default;
};
