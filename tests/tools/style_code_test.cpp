#include "tools/style_code.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(WindowStyle, FromCode) {
    struct Case {
        int code;
        WindowStyle style;
    };
    constexpr Case kCases[] = {
        {1, WindowStyle::Standard},       {2, WindowStyle::Cartoon},  {3, WindowStyle::Mini},
        {4, WindowStyle::Detail},         {5, WindowStyle::None},     {0, WindowStyle::Standard},
        {6, WindowStyle::Contrast},       {7, WindowStyle::Standard}, {-1, WindowStyle::Standard},
        {1 << 30, WindowStyle::Standard},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(styleFromCode(c.code), c.style);
    }
}

TEST(WindowStyle, MessageByCode) {
    EXPECT_EQ(styleMessage(3),
              "You have select the mini style.Please exit the calculator and restart it, then you "
              "could use the mini style.Thank you.\r\n");
    for (int code = 1; code <= 4; ++code) {
        SCOPED_TRACE(code);
        const std::string name(styleName(static_cast<WindowStyle>(code)));
        const std::string text(styleMessage(code));
        EXPECT_TRUE(text.starts_with("You have select the " + name + " style.Please exit"));
        EXPECT_TRUE(text.ends_with("use the " + name + " style.Thank you.\r\n"));
    }
    EXPECT_EQ(styleMessage(6),
              "You have select the high-contrast style.Please exit the calculator and restart it, "
              "then you could use the high-contrast style.Thank you.\r\n");
    for (int code : {0, 5, 7, -1}) EXPECT_TRUE(styleMessage(code).empty());
}

TEST(WindowStyle, FromName) {
    EXPECT_EQ(styleFromName("standard"), WindowStyle::Standard);
    EXPECT_EQ(styleFromName("Mini"), WindowStyle::Mini);
    EXPECT_EQ(styleFromName("DETAIL"), WindowStyle::Detail);
    EXPECT_EQ(styleFromName("cartoon"), WindowStyle::Cartoon);
    EXPECT_EQ(styleFromName("Contrast"), WindowStyle::Contrast);
    EXPECT_EQ(styleName(WindowStyle::Contrast), "contrast");
    EXPECT_EQ(styleFromName("min"), std::nullopt);
    EXPECT_EQ(styleFromName(""), std::nullopt);
}

}  // namespace
}  // namespace quorvel
