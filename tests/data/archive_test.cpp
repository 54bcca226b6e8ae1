#include "data/archive.h"

#include <gtest/gtest.h>

#include <string>

#include "bytes.h"

namespace quorvel {
namespace {

using test::Bytes;

std::string stored(std::string text) {
    Archive ar;
    ar.exchange(text);
    return ar.bytes();
}

std::string loaded(std::string_view bytes) {
    Archive ar(bytes);
    std::string text = "old";
    ar.exchange(text);
    EXPECT_TRUE(ar.atEnd());
    return text;
}

TEST(Archive, LengthPrefixForms) {
    struct Case {
        std::size_t length;
        std::string prefix;
    };
    const Case cases[] = {
        {0, Bytes().raw({0x00}).s},
        {254, Bytes().raw({0xFE}).s},
        {255, Bytes().raw({0xFF, 0xFF, 0x00}).s},
        {300, Bytes().raw({0xFF, 0x2C, 0x01}).s},
        {65533, Bytes().raw({0xFF, 0xFD, 0xFF}).s},
        {65534, Bytes().raw({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}).s},
        {70000, Bytes().raw({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}).s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        const std::string text(c.length, 'q');
        const std::string bytes = stored(text);
        EXPECT_EQ(bytes, c.prefix + text);
        EXPECT_EQ(loaded(bytes), text);
    }
}

TEST(Archive, NonAsciiTextsAreWrittenAsUtf16) {
    struct Case {
        const char* text;
        std::string bytes;
    };
    const Case cases[] = {
        {"\u00e9", Bytes().raw({0xFF, 0xFE, 0xFF, 0x01, 0xE9, 0x00}).s},
        {"5 \u20ac", Bytes().utf16(u"5 \u20ac").s},
        {"\U0001F600", Bytes().raw({0xFF, 0xFE, 0xFF, 0x02, 0x3D, 0xD8, 0x00, 0xDE}).s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(stored(c.text), c.bytes);
        EXPECT_EQ(loaded(c.bytes), c.text);
    }
    const std::string longText(300, 'x');
    const std::string bytes = stored(longText + "\u00e4");
    EXPECT_EQ(bytes.substr(0, 6), Bytes().raw({0xFF, 0xFE, 0xFF, 0xFF, 0x2D, 0x01}).s);
    EXPECT_EQ(loaded(bytes), longText + "\u00e4");
}

TEST(Archive, OneByteHighCharactersReadAsWindows1252) {
    const std::string bytes = Bytes().raw({0x08, 'A', 0x80, 0x81, 0x8A, 0x96, 0x9F, 0xA0, 0xFF}).s;
    EXPECT_EQ(loaded(bytes), "A\u20ac\u0081\u0160\u2013\u0178\u00a0\u00ff");
}

TEST(Archive, BadTextsFailWithReasonAndKeepTheValue) {
    struct Case {
        const char* name;
        std::string bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"nothing", "", "inside a text length"},
        {"short", Bytes().raw({0x05, 'a', 'b'}).s, "text length 5 at byte 0 exceeds the 2"},
        {"cut 16-bit length", Bytes().raw({0xFF, 0x01}).s, "inside a text length"},
        {"4 GB length", Bytes().raw({0xFF, 0xFF, 0xFF}).i32(0xFFFFFFFF).s,
         "text length 4294967295"},
        {"short UTF-16", Bytes().raw({0xFF, 0xFE, 0xFF, 0x03, 0x41, 0x00, 0x42}).s,
         "exceeds the 3"},
        {"repeated marker", Bytes().raw({0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 0x00}).s,
         "repeated UTF-16 marker"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Archive ar(c.bytes);
        std::string text = "old";
        try {
            ar.exchange(text);
            ADD_FAILURE() << "no error";
        } catch (const ArchiveError& e) {
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
        }
        EXPECT_EQ(text, "old");
    }
}

}  // namespace
}  // namespace quorvel
