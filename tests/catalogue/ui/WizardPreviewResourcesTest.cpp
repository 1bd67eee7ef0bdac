// The wizard's previews are made at build time and carried as resources of the widgets.
#include "catalogue/uWizzardStep.h"
#include "platform/uJpegCodec.h"

#include <QFile>

#include <gtest/gtest.h>

TEST(WizardPreviewResources, EveryPictureOfTheTreeDecodesTo800By600) {
    const auto root = BuildWizardTree(QDate(2025, 12, 31));
    const auto pictures = WizardPictures(*root);
    ASSERT_EQ(pictures.size(), 22u);
    for (const TWizardPicture& p : pictures) {
        QFile file(QStringLiteral(":/wizard/%1.jpg").arg(p.Picture));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << p.Picture.toStdString();
        QImage picture;
        JpegCodec::TJpegHeader header;
        EXPECT_EQ(JpegCodec::Decode(file.readAll(), picture, header, QSize(), 1 << 24),
                  JpegCodec::TJpegStatus::Ok)
            << p.Picture.toStdString();
        EXPECT_EQ(picture.size(), QSize(800, 600)) << p.Picture.toStdString();
    }
}
