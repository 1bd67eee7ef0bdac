#include "print/ui/FDruckerEigenschaften.h"

#include "i18n/ulocalize.h"
#include "print/uCurrentPrinter.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

TDruckerEigenschaftenDlg::TDruckerEigenschaftenDlg(TCurrentPrinter& printer, QWidget* owner)
    : QDialog(owner), printer_(printer) {
    setObjectName(QStringLiteral("DruckerEigenschaftenDlg"));
    setWindowTitle(Translate(QStringLiteral("Eigenschaften")) + QStringLiteral(" - ") +
                   printer.SelectedName());
    auto* form = new QFormLayout;
    const TDeviceMode& mode = printer.DeviceMode();
    for (const TQueueOption& option : printer.Options()) {
        auto* combo = new QComboBox(this);
        combo->setObjectName(QStringLiteral("cmb") + option.Key);
        for (int i = 0; i < option.Choices.size(); ++i)
            combo->addItem(option.ChoiceTexts.value(i, option.Choices[i]), option.Choices[i]);
        QString current =
            option.Key == QLatin1String("PageSize") ? mode.PageSizeKey : mode.Option(option.Key);
        if (current.isEmpty())
            current = option.Default;
        combo->setCurrentIndex(std::max(0, combo->findData(current)));
        form->addRow(option.Text.isEmpty() ? option.Key : option.Text, combo);
        choices_.emplace_back(option.Key, combo);
    }
    if (choices_.empty())
        form->addRow(
            new QLabel(Translate(QStringLiteral("Der Drucker bietet keine Einstellungen an.")), this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(Translate(QStringLiteral("OK")));
    buttons->button(QDialogButtonBox::Cancel)->setText(Translate(QStringLiteral("Abbrechen")));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        Apply();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
    setLayout(form);
}

QComboBox* TDruckerEigenschaftenDlg::Choice(const QString& key) const {
    for (const auto& [k, combo] : choices_)
        if (k == key)
            return combo;
    return nullptr;
}

void TDruckerEigenschaftenDlg::Apply() {
    TDeviceMode& mode = printer_.DeviceMode();
    for (const auto& [key, combo] : choices_) {
        const QString value = combo->currentData().toString();
        if (key == QLatin1String("PageSize")) {
            // A paper chosen here is a paper of the list, borderless variant or not.
            for (const TPaperInfo& p : printer_.Papers())
                if (p.Key == value || p.BorderlessKey == value) {
                    FillPaper(mode, p, p.Width, p.Height);
                    mode.PageSizeKey = value;
                }
            continue;
        }
        mode.SetOption(key, value);
        if (key == QLatin1String("Resolution")) {
            QString dpi = value;
            dpi.remove(QLatin1String("dpi"));
            if (const int y = dpi.section(u'x', -1).toInt(); y > 0)
                mode.Resolution = y;
        } else if (key == QLatin1String("ColorModel")) {
            const QString v = value.toLower();
            mode.Color = v.contains(QLatin1String("gray")) || v.contains(QLatin1String("black"))
                             ? TDeviceMode::kColorMonochrome
                             : TDeviceMode::kColorColor;
        }
    }
}
