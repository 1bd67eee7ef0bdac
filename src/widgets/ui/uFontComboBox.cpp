#include "widgets/ui/uFontComboBox.h"

#include <QFontDatabase>

TFontComboBox::TFontComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(14);
    Fill();
    connect(this, &QComboBox::textActivated, this, [this](const QString& family) {
        if (family == shown_)
            return;
        shown_ = family;
        emit FontNameChosen(family);
    });
}

QString TFontComboBox::FontName() const {
    return shown_;
}

void TFontComboBox::SetFontName(const QString& family) {
    const QSignalBlocker blocker(this);
    int index = findText(family, Qt::MatchFixedString);
    if (index < 0 && !family.isEmpty()) {
        // Kept at the top, apart from the installed families, in the face the system substitutes.
        insertItem(0, family);
        setItemData(0, QFont(family), Qt::FontRole);
        SetPreview(0);
        index = 0;
    }
    setCurrentIndex(index);
    shown_ = index >= 0 ? itemText(index) : QString();
}

void TFontComboBox::SetPreviewText(const QString& text) {
    preview_ = text;
    for (int i = 0; i < count(); ++i)
        SetPreview(i);
}

void TFontComboBox::SetPreview(int index) {
    if (preview_.isEmpty()) {
        setItemData(index, QVariant(), Qt::ToolTipRole);
        return;
    }
    const QString family = itemText(index).toHtmlEscaped();
    setItemData(index,
                QStringLiteral("<span style=\"font-family:'%1'; font-size:14pt\">%2</span>")
                    .arg(family, preview_.toHtmlEscaped()),
                Qt::ToolTipRole);
}

bool TFontComboBox::IsInstalled(const QString& family) {
    return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

void TFontComboBox::Fill() {
    const QStringList families = QFontDatabase::families();
    for (const QString& family : families) {
        if (QFontDatabase::isPrivateFamily(family))
            continue;
        addItem(family);
        setItemData(count() - 1, QFont(family), Qt::FontRole);
    }
    setCurrentIndex(-1);
}
