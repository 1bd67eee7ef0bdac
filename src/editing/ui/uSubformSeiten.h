#pragma once

#include "editing/ui/uEditorPanel.h"

#include <QListWidget>

class TFBDocument;
class TFBElement;
class TFBPage;

// The pages panel under the page view: one entry per view of the document. For now a plain list
// of the view captions; picking an entry announces the view through the multicaster. Thumbnails,
// inserting, deleting and moving views come with the pages panel itself.
class TSFormSeiten : public QListWidget, public TEditorPanel {
    Q_OBJECT
public:
    TSFormSeiten(QWidget* parent, TFBDocument* document);

    // Builds the list anew from the document's views.
    void Rebuild();
    // Marks view i as the current one (without announcing it).
    void SelectView(int i);
    int CurrentView() const;
    // Refreshes the entry of the current view.
    void RefreshCurrentView();

    // As a panel: a changed element refreshes its view's entry, another view becomes the current
    // entry, inserted or deleted pages and a restored document rebuild the list.
    const QObject* EventSource() const override { return this; }
    void ElementChanged(TFBElement* element, TFBPage* page) override;
    void ViewSelected(int viewIndex) override { SelectView(viewIndex); }
    void PagesChanged() override { Rebuild(); }
    void DocumentRestored() override { Rebuild(); }

private:
    TFBDocument* document_;
    bool selecting_ = false;
};
