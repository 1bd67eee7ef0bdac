#pragma once

#include <QComboBox>

// The font-name box: the font families installed on the system (as fontconfig reports them),
// each shown in its own face. A family a document names but the system lacks is kept in the box
// under its own name, so choosing it again changes nothing; it is drawn with the substitute.
class TFontComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TFontComboBox(QWidget* parent = nullptr);

    QString FontName() const;
    // Selects the family, adding it to the box when the system lacks it; reports nothing.
    void SetFontName(const QString& family);

    // The sample each family's entry shows as its tip, in the family's own face.
    void SetPreviewText(const QString& text);

    // Whether the system has a family of that name (case does not matter).
    static bool IsInstalled(const QString& family);

signals:
    // The user chose a family other than the one shown before.
    void FontNameChosen(const QString& family);

private:
    void Fill();
    void SetPreview(int index);

    QString shown_;
    QString preview_;
};
