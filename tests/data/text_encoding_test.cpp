#include "data/text_encoding.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

// A byte of 0x80 or above anywhere, in the words read eight at a time or in the rest.
TEST(TextEncoding, IsAsciiSeesAHighByteAnywhere) {
    EXPECT_TRUE(isAscii(""));
    for (const std::size_t length : {1u, 7u, 8u, 9u, 16u, 23u}) {
        const std::string plain(length, '\x7f');
        EXPECT_TRUE(isAscii(plain)) << length;
        for (std::size_t at = 0; at < length; ++at) {
            for (const char high : {'\x80', '\xff'}) {
                std::string text = plain;
                text[at] = high;
                EXPECT_FALSE(isAscii(text)) << length << " at " << at;
            }
        }
    }
}

TEST(TextEncoding, Utf8ToUtf16) {
    struct Case {
        const char* name;
        std::string utf8;
        std::u16string utf16;
        bool wellFormed;  // then it converts back unchanged
    };
    const Case cases[] = {
        {"ascii", "1+2=3", u"1+2=3", true},
        {"latin", "Fl\u00e4che", u"Fl\u00e4che", true},
        {"bmp", "\u20ac \u2013 \u03c0", u"\u20ac \u2013 \u03c0", true},
        {"astral", "\U0001F600x", u"\U0001F600x", true},
        // Stray bytes are read as Windows-1252, never dropped.
        {"lone latin byte", "caf\xE9", u"caf\u00e9", false},
        {"lone 0x80", "\x80", u"\u20ac", false},
        {"overlong nul", "\xC0\x80", u"\u00c0\u20ac", false},
        {"encoded surrogate", "\xED\xA0\x80", u"\u00ed\u00a0\u20ac", false},
        {"cut sequence", "\xE2\x82", u"\u00e2\u201a", false},
        {"above U+10FFFF", "\xF4\x90\x80\x80", u"\u00f4\u0090\u20ac\u20ac", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(utf8ToUtf16(c.utf8), c.utf16);
        if (c.wellFormed) {
            EXPECT_EQ(utf16ToUtf8(c.utf16), c.utf8);
        }
    }
}

TEST(TextEncoding, LoneSurrogateBecomesReplacementCharacter) {
    EXPECT_EQ(utf16ToUtf8(u"a\xD800"
                          "b"),
              "a\uFFFDb");
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, u'\xDC00')), "\uFFFD");
}

}  // namespace
}  // namespace quorvel
