#pragma once

// The pictures compiled into the program and the colours every skinned window shares. Paths
// name Qt resources painted by res/skins/generate_skins.cpp; a picture's size is the size of
// the window or button that shows it, since pictures are drawn unscaled.

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QRgb>
#include <QString>
#include <QStringList>

namespace quorvel::skins {

// Every skin pixel of exactly this colour is cut out of its window.
inline constexpr QRgb kKeyColour = qRgb(219, 215, 217);
inline constexpr QRgb kStaticBackground = qRgb(245, 243, 233);
inline constexpr QRgb kMessageBackground = qRgb(255, 255, 255);
inline constexpr QRgb kStaticText = qRgb(0, 0, 0);
inline constexpr QRgb kDisplayBackground = qRgb(204, 235, 244);
inline constexpr QRgb kDisplayText = qRgb(11, 52, 125);
inline constexpr QRgb kMenuSelected = qRgb(234, 234, 234);
inline constexpr QRgb kMenuBannerText = qRgb(51, 106, 198);

struct ButtonPictures {
    const char* normal;
    const char* pressed;
    const char* hover;
};

// 65 x 25: OK, Close and the other dialog buttons.
inline constexpr ButtonPictures kButton{":/skins/button_normal.png", ":/skins/button_pressed.png",
                                        ":/skins/button_hover.png"};
// 70 x 25: a row of latching choices, such as the formula catalogs.
inline constexpr ButtonPictures kTab{":/skins/tab_normal.png", ":/skins/tab_pressed.png",
                                     ":/skins/tab_hover.png"};
// 40 x 30: digits, letters and the other keypad keys.
inline constexpr ButtonPictures kKey{":/skins/key_normal.png", ":/skins/key_pressed.png",
                                     ":/skins/key_hover.png"};
// 40 x 30: operators, Equal, Calculate.
inline constexpr ButtonPictures kAccentKey{":/skins/key_accent_normal.png",
                                           ":/skins/key_accent_pressed.png",
                                           ":/skins/key_accent_hover.png"};
// 32 x 24: the keys of the mini window.
inline constexpr ButtonPictures kMiniKey{
    ":/skins/key_mini_normal.png", ":/skins/key_mini_pressed.png", ":/skins/key_mini_hover.png"};
// 42 x 36: the round keys of the cartoon window.
inline constexpr ButtonPictures kCartoonKey{":/skins/key_cartoon_normal.png",
                                            ":/skins/key_cartoon_pressed.png",
                                            ":/skins/key_cartoon_hover.png"};

// 42 x 36: the high-contrast window's typing keys, operators and named commands.
inline constexpr ButtonPictures kContrastKey{":/skins/key_contrast_normal.png",
                                             ":/skins/key_contrast_pressed.png",
                                             ":/skins/key_contrast_hover.png"};
inline constexpr ButtonPictures kContrastAccent{":/skins/key_contrast_accent_normal.png",
                                                ":/skins/key_contrast_accent_pressed.png",
                                                ":/skins/key_contrast_accent_hover.png"};
inline constexpr ButtonPictures kContrastWord{":/skins/key_contrast_word_normal.png",
                                              ":/skins/key_contrast_word_pressed.png",
                                              ":/skins/key_contrast_word_hover.png"};

inline constexpr const char* kSkinStandard = ":/skins/main_standard.png";  // 670 x 150
inline constexpr const char* kSkinCartoon = ":/skins/main_cartoon.png";    // 550 x 190
inline constexpr const char* kSkinMini = ":/skins/main_mini.png";          // 590 x 70
inline constexpr const char* kSkinDetail = ":/skins/main_detail.png";      // 670 x 300
inline constexpr const char* kSkinContrast = ":/skins/main_contrast.png";  // 710 x 168
// 620 x 370: settings, log manager, formula manager, exercise generator.
inline constexpr const char* kSkinDialog = ":/skins/dialog_large.png";
inline constexpr const char* kSkinConverter = ":/skins/dialog_converter.png";  // 750 x 370
// 570 x 200: new formula, export to the formula manager.
inline constexpr const char* kSkinFormula = ":/skins/dialog_formula.png";
inline constexpr const char* kSkinStyleMessage = ":/skins/dialog_style_message.png";  // 510 x 310
inline constexpr const char* kSkinInputMessage = ":/skins/dialog_input_message.png";  // 510 x 300
inline constexpr const char* kSkinParameters = ":/skins/dialog_parameters.png";       // 310 x 240
inline constexpr const char* kSkinTip = ":/skins/dialog_tip.png";                     // 430 x 300

inline constexpr const char* kMenuBanner = ":/skins/menu_banner.png";  // stretched to the menu
inline constexpr const char* kWindowIcon = ":/skins/icon.png";

// Registers the compiled-in pictures; a static library's resources are otherwise dropped by
// the linker. Safe to call any number of times.
void initResources();
// A PNG picture from a file or the resources; a null image when it cannot be read.
QImage readPng(const QString& file);
// The same as a pixmap, shared with earlier loads of the file; the window's thread only.
QPixmap loadPixmap(const QString& file);
// An icon of the pictures of `files` (one per size), read as readPng reads them.
QIcon pngIcon(const QStringList& files);
// kWindowIcon as an icon.
QIcon compiledWindowIcon();

}  // namespace quorvel::skins
