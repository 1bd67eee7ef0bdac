#pragma once

#include "render/uRTFDrawer.h"

#include <QSet>

#include <array>

// Fixed font metrics for layout tests: an em of 1000 units, every letter 500 wide, a space 250, a
// hyphen 300, whatever the font; installed are Arial, Courier New and Times New Roman.
class TestMeasure : public TRTFMeasure {
public:
    static constexpr int kWidthA = 500;
    static constexpr int kWidthSpace = 250;
    static constexpr int kWidthHyphen = 300;
    static constexpr int kHeight = 1150;
    static constexpr int kAscent = 900;
    static constexpr int kLeading = 50;

    TestMeasure() {
        widths_.fill(kWidthA);
        widths_[' '] = kWidthSpace;
        widths_['-'] = kWidthHyphen;
    }

    TRTFFontMetrics Metrics(const TFont&) const override {
        return TRTFFontMetrics{1000, kHeight, kAscent, kLeading, widths_.data()};
    }
    bool IsInstalled(const QString& name) const override {
        return QSet<QString>{"Arial", "Courier New", "Times New Roman"}.contains(name);
    }

private:
    std::array<qint32, 256> widths_{};
};
