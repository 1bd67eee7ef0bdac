#include "document/ui/uColorDialog.h"

#include "i18n/ulocalize.h"

#include <QApplication>
#include <QColorDialog>

bool TQtColorDialog::Execute(std::int32_t& colour, CustomColors& customColors) {
    for (int i = 0; i < CustomColorCount; ++i)
        QColorDialog::setCustomColor(i, ColorToQColor(customColors[size_t(i)]));
    QColorDialog dialog(ColorToQColor(colour), QApplication::activeWindow());
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    dialog.setWindowTitle(Translate(QStringLiteral("Farbe")));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    colour = QColorToColor(dialog.selectedColor());
    for (int i = 0; i < CustomColorCount; ++i)
        customColors[size_t(i)] = QColorToColor(QColorDialog::customColor(i));
    return true;
}

void InstallColorDialog() {
    static TQtColorDialog dialog;
    SetColorDialogService(&dialog);
}
