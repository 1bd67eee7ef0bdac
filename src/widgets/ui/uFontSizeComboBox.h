#pragma once

#include <QComboBox>

// The font-size box: the 17 offered sizes and typed digits. A typed size of 0 or above 1638
// points is refused and the box shows its previous size again; Enter tells the owner, which
// returns the focus to where the user was writing.
class TFontSizeComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TFontSizeComboBox(QWidget* parent = nullptr);

    int Size() const { return size_; }
    // Shows size (any size the box accepts) without reporting it.
    void SetSize(int size);

signals:
    // The user chose or typed a size other than the previous one.
    void SizeChosen(int size);
    // The user pressed Enter in the box (after the typed size was taken or refused).
    void Confirmed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TakeText(const QString& text);
    void ShowSize();

    int size_ = 12;
};
