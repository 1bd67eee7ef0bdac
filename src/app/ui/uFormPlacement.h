#pragma once

#include <QString>

class QWidget;

// Window placement of a top-level widget in the settings store (the main window uses "Master").
// Saving writes the state and, unless maximised, the normal bounds; restoring applies the stored
// state, or the stored bounds shrunk to the screen and moved onto it. Call restore before the
// window is shown.
void SaveFormPlacement(const QWidget& form, const QString& section);
void RestoreFormPlacement(QWidget& form, const QString& section);
