#pragma once

#include <QListWidget>

#include <cstdint>

class TFBLayoutTypen;

// The layout list of the main window: the page layouts that fit the open document.
// Until the page templates exist, Build leaves the list empty (and the layouts tab hidden).
class TPageTemplateListview : public QListWidget {
    Q_OBJECT
public:
    explicit TPageTemplateListview(QWidget* parent);

    // Clears the list and fills it with the layouts of the given types and style (only that
    // style when onlyThisStyle is set).
    void Build(const TFBLayoutTypen& types, uint8_t style, bool onlyThisStyle);
};
