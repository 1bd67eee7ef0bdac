#pragma once

#include <QListWidget>

class TFBDocument;
class TFBElement;
class TFBPage;

// The pages panel under the page view: one entry per view of the document. For now a plain list
// of the view captions; picking an entry announces the view through the multicaster. Thumbnails,
// inserting, deleting and moving views come with the pages panel itself.
class TSFormSeiten : public QListWidget {
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
    // An element on a page changed.
    void ElementChanged(TFBElement* element, TFBPage* page);

private:
    TFBDocument* document_;
    bool selecting_ = false;
};
