#include <gtest/gtest.h>

#include <QImage>

#include "ui/skin_resources.h"

namespace quorvel {
namespace {

struct Skin {
    const char* path;
    int width;
    int height;
};

constexpr Skin kSkins[] = {
    {skins::kSkinStandard, 670, 150},     {skins::kSkinCartoon, 550, 190},
    {skins::kSkinMini, 590, 70},          {skins::kSkinDetail, 670, 300},
    {skins::kSkinDialog, 620, 370},       {skins::kSkinConverter, 750, 370},
    {skins::kSkinFormula, 570, 200},      {skins::kSkinStyleMessage, 510, 310},
    {skins::kSkinInputMessage, 510, 300}, {skins::kSkinParameters, 310, 240},
    {skins::kSkinTip, 430, 300},
};

TEST(SkinArtwork, WindowSkinsHaveTheirSizeAndARoundedOutline) {
    skins::initResources();
    for (const Skin& s : kSkins) {
        SCOPED_TRACE(s.path);
        const QImage skin(QString::fromLatin1(s.path));
        ASSERT_FALSE(skin.isNull());
        EXPECT_EQ(skin.size(), QSize(s.width, s.height));
        for (QPoint corner : {QPoint(0, 0), QPoint(s.width - 1, 0), QPoint(0, s.height - 1),
                              QPoint(s.width - 1, s.height - 1)}) {
            EXPECT_EQ(skin.pixel(corner), skins::kKeyColour) << corner.x() << "," << corner.y();
        }
        EXPECT_NE(skin.pixel(s.width / 2, s.height / 2), skins::kKeyColour);
    }
}

struct Buttons {
    skins::ButtonPictures pictures;
    int width;
    int height;
};

const Buttons kButtons[] = {
    {skins::kButton, 65, 25},    {skins::kTab, 70, 25},     {skins::kKey, 40, 30},
    {skins::kAccentKey, 40, 30}, {skins::kMiniKey, 32, 24}, {skins::kCartoonKey, 42, 36},
};

TEST(SkinArtwork, ButtonsHaveThreeDistinctStatesOfOneSize) {
    skins::initResources();
    for (const Buttons& b : kButtons) {
        SCOPED_TRACE(b.pictures.normal);
        const QImage normal(QString::fromLatin1(b.pictures.normal));
        const QImage pressed(QString::fromLatin1(b.pictures.pressed));
        const QImage hover(QString::fromLatin1(b.pictures.hover));
        for (const QImage* picture : {&normal, &pressed, &hover}) {
            EXPECT_EQ(picture->size(), QSize(b.width, b.height));
        }
        EXPECT_NE(normal, pressed);
        EXPECT_NE(normal, hover);
        EXPECT_NE(pressed, hover);
    }
}

TEST(SkinArtwork, IconAndBannerLoad) {
    skins::initResources();
    EXPECT_EQ(QImage(QString::fromLatin1(skins::kWindowIcon)).size(), QSize(64, 64));
    EXPECT_FALSE(QImage(QString::fromLatin1(skins::kMenuBanner)).isNull());
}

}  // namespace
}  // namespace quorvel
