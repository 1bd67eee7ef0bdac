#include "document/ui/uColorDialog.h"

#include "document/uColorList.h"
#include "platform/uVXRegIniFile.h"
#include "support/TempHome.h"

#include <QApplication>
#include <QColorDialog>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using TestSupport::TempHome;

namespace {

// Runs action on the colour dialog once it is shown modally.
void whenDialogShows(std::function<void(QColorDialog&)> action) {
    QTimer::singleShot(0, [action = std::move(action)] {
        auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        action(*dialog);
    });
}

class ColorDialogUi : public ::testing::Test {
protected:
    // The toolkit's colour dialog keeps its custom colours in a settings file of its own, found
    // once per process and written at exit. Its home here is a temporary folder that outlives the
    // dialog's static data (built after it, so removed after it), and never the real one.
    static void SetUpTestSuite() {
        static QTemporaryDir toolkitHome;
        const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", toolkitHome.path().toUtf8());
        QColorDialog::customColor(0);
        if (saved.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", saved);
    }
    void SetUp() override { InstallColorDialog(); }
    void TearDown() override {
        TColorList::Finalize();
        SetColorDialogService(nullptr);
    }
    TempHome home;
};

} // namespace

TEST_F(ColorDialogUi, CancelledDialogKeepsTheColour) {
    std::int32_t colour = 0x123456;
    std::int32_t shown = 0;
    whenDialogShows([&](QColorDialog& dialog) {
        shown = QColorToColor(dialog.currentColor());
        dialog.reject();
    });
    EXPECT_TRUE(TFBColor(QStringLiteral("Eigene Farbe"), -1).GetColor(colour));
    EXPECT_EQ(colour, 0x123456);
    EXPECT_EQ(shown, 0xFFFFFF);
}

TEST_F(ColorDialogUi, ConfirmedColourAndCustomColoursAreKept) {
    VXRegIniFile().WriteString(QStringLiteral("CustomColors"), QStringLiteral("Colors"),
                               QStringLiteral("ColorA=0000FF\nColorB=00FF00"));
    std::int32_t startCustom = -1;
    whenDialogShows([&](QColorDialog& dialog) {
        startCustom = QColorToColor(QColorDialog::customColor(1));
        QColorDialog::setCustomColor(2, QColor(0x11, 0x22, 0x33));
        dialog.setCurrentColor(QColor(0x80, 0x40, 0x20));
        dialog.accept();
    });
    std::int32_t colour = 0;
    EXPECT_TRUE(PickColor(colour));
    EXPECT_EQ(colour, 0x204080);
    EXPECT_EQ(startCustom, 0x00FF00);
    const QString stored =
        VXRegIniFile().ReadString(QStringLiteral("CustomColors"), QStringLiteral("Colors"), {});
    EXPECT_TRUE(stored.startsWith(QStringLiteral("ColorA=0000FF\nColorB=00FF00\nColorC=332211\n")))
        << stored.toStdString();
    EXPECT_EQ(TColorList::Instance().Items(2), 0x332211);
}
