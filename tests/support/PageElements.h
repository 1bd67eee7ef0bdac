#pragma once

// Pages and elements put into a document in one step, for the tests and benchmarks that build
// documents in code.

#include "document/uFotobuchDocument.h"

#include <memory>
#include <type_traits>

namespace TestSupport {

// Appends count empty pages to the document.
inline void addPages(TFBDocument& doc, int count) {
    for (int i = 0; i < count; ++i)
        doc.Pages.Add(std::make_unique<TFBPage>(&doc));
}

// Adds a new element to the page's list for its kind (frames, calendars, or the sizeable texts,
// cliparts and plain elements) and gives it its centre, unturned size and angle.
template <typename T>
T* placeElement(TFBPage* page, float centerX, float centerY, float width, float height, float angle = 0);

// ---- details

template <typename T>
TFBElementList& kindList(TFBPage* page) {
    if constexpr (std::is_base_of_v<TFBPictureElement, T>)
        return page->Pictures;
    else if constexpr (std::is_base_of_v<TFBKalenderElement, T>)
        return page->Calendars;
    else
        return page->Sizeables;
}

template <typename T>
T* placeElement(TFBPage* page, float centerX, float centerY, float width, float height, float angle) {
    auto* element = static_cast<T*>(kindList<T>(page).Add(std::make_unique<T>(page)));
    element->CenterX = centerX;
    element->CenterY = centerY;
    element->Width = width;
    element->Height = height;
    element->Angle = angle;
    return element;
}

} // namespace TestSupport
