#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

// Every form of the designer, each with a way to create it on its own: the completeness checks of
// the language tables create them all, and template writing ("/RESWRITE") collects their texts.
// A new form joins this one list (no registration objects: the linker drops those from static
// libraries).
struct TFormEntry {
    const char* Section; // the form's class name
    std::function<std::unique_ptr<QWidget>(QWidget* owner)> Create;
};

const std::vector<TFormEntry>& AllForms();
