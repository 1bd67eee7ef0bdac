#pragma once

class TFBElement;

// The property panels below the page view; one of them, or none, fits the selected element.
enum class TPropertyPanel { None, Text, Bild, Farbflaeche, Kalender };

// The panel for an element: a picture element that holds a picture but cannot zoom and track (a
// colour area) the colour panel, any other picture element the picture panel, a text element the
// text panel, a calendar element the calendar panel; anything else or no element none (the main
// window then shows the pages tab).
TPropertyPanel PropertyPanelFor(const TFBElement* element);
