#pragma once

class QWidget;

// Names and descriptions for screen readers, taken from what the window shows, so that they follow
// every language switch when applied again: a tool button is named by its caption (or, without
// one, its hint) and described by its hint; a tab and its page by the tab's caption; the content
// of a left tab (a list, a browser's thumbnails) by the tab's caption too, a browser's folder tree
// as its folders; the zoom track bar and the page label by what they control.
namespace MasterAccessibility {

void Apply(QWidget& window);

} // namespace MasterAccessibility
