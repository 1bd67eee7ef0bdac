#include "print/ui/FDruckerEigenschaften.h"

#include "print/uCurrentPrinter.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

TDruckerEigenschaftenDlg::TDruckerEigenschaftenDlg(TCurrentPrinter& printer, QWidget* owner)
    : TLocalizerDialog(owner), printer_(printer) {
    setObjectName(QStringLiteral("DruckerEigenschaftenDlg"));
    LocalizerForms::KeepUntranslated(this); // the caption, set in AfterTranslate
    auto* form = new QFormLayout;
    const TDeviceMode& mode = printer.DeviceMode();
    for (const TQueueOption& option : printer.Options()) {
        auto* combo = new QComboBox(this);
        combo->setObjectName(QStringLiteral("cmb") + option.Key);
        LocalizerForms::KeepUntranslated(combo); // the queue's own words
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
    auto* none = new QLabel(QStringLiteral("Der Drucker bietet keine Einstellungen an."), this);
    none->setObjectName(QStringLiteral("lblKeineEinstellungen"));
    if (choices_.empty())
        form->addRow(none);
    else
        none->hide();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setText(QStringLiteral("OK"));
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("btnAbbrechen"));
    cancel->setText(QStringLiteral("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        Apply();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
    setLayout(form);
    Localize();
}

void TDruckerEigenschaftenDlg::RegisterTexts() {
    RegisterText("Eigenschaften");
}

void TDruckerEigenschaftenDlg::AfterTranslate() {
    setWindowTitle(Tr("Eigenschaften") + QStringLiteral(" - ") + printer_.SelectedName());
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
