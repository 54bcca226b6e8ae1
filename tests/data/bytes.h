#pragma once

// Builds file bytes by hand, from the layout rather than from our own writer.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace quorvel::test {

struct Bytes {
    std::string s;

    Bytes& raw(std::initializer_list<int> bytes) {
        for (const int b : bytes) s += static_cast<char>(b);
        return *this;
    }
    Bytes& i32(std::int64_t v) {
        const auto u = static_cast<std::uint32_t>(v);
        return raw({int(u & 0xFF), int(u >> 8 & 0xFF), int(u >> 16 & 0xFF), int(u >> 24)});
    }
    // A text of fewer than 255 one-byte characters.
    Bytes& text(std::string_view t) {
        s += static_cast<char>(t.size());
        s += t;
        return *this;
    }
    // A UTF-16 text of fewer than 255 units.
    Bytes& utf16(std::u16string_view t) {
        raw({0xFF, 0xFE, 0xFF, int(t.size())});
        for (const char16_t u : t) raw({u & 0xFF, u >> 8});
        return *this;
    }
};

}  // namespace quorvel::test
