#include "data/archive.h"

#include <bit>
#include <limits>

#include "data/text_encoding.h"

namespace quorvel {
namespace {

constexpr std::uint8_t kLongLength = 255;
constexpr std::uint16_t kUtf16Marker = 0xFFFE;
constexpr std::uint16_t kLength32 = 0xFFFF;

}  // namespace

void Archive::exchange(std::int32_t& value) {
    if (m_storing) {
        writeU32(static_cast<std::uint32_t>(value));
    } else {
        value = static_cast<std::int32_t>(readU32("an integer"));
    }
}

void Archive::exchange(std::uint8_t& value) {
    if (m_storing) {
        writeByte(value);
    } else {
        value = readByte("a byte");
    }
}

void Archive::exchange(double& value) {
    if (m_storing) {
        writeU64(std::bit_cast<std::uint64_t>(value));
    } else {
        value = std::bit_cast<double>(readU64("a floating-point number"));
    }
}

void Archive::exchange(std::string& text) {
    if (!m_storing) {
        text = readText();
        return;
    }
    if (isAscii(text)) {
        writeLength(text.size());
        m_out += text;
        return;
    }
    const std::u16string units = utf8ToUtf16(text);
    writeByte(kLongLength);
    writeU16(kUtf16Marker);
    writeLength(units.size());
    for (const char16_t unit : units) writeU16(unit);
}

void Archive::writeU16(std::uint16_t value) {
    const char bytes[2] = {static_cast<char>(value), static_cast<char>(value >> 8)};
    m_out.append(bytes, 2);
}

void Archive::writeU32(std::uint32_t value) {
    const char bytes[4] = {static_cast<char>(value), static_cast<char>(value >> 8),
                           static_cast<char>(value >> 16), static_cast<char>(value >> 24)};
    m_out.append(bytes, 4);
}

void Archive::writeU64(std::uint64_t value) {
    writeU32(static_cast<std::uint32_t>(value));
    writeU32(static_cast<std::uint32_t>(value >> 32));
}

void Archive::writeLength(std::size_t length) {
    if (length < kLongLength) {
        writeByte(static_cast<std::uint8_t>(length));
        return;
    }
    writeByte(kLongLength);
    if (length < kUtf16Marker) {
        writeU16(static_cast<std::uint16_t>(length));
        return;
    }
    if (length > std::numeric_limits<std::uint32_t>::max()) {
        throw ArchiveError("text of " + std::to_string(length) + " characters is too long");
    }
    writeU16(kLength32);
    writeU32(static_cast<std::uint32_t>(length));
}

void Archive::writeCount(std::size_t count) {
    if (count > std::numeric_limits<std::uint32_t>::max()) {
        throw ArchiveError("list of " + std::to_string(count) + " elements is too long");
    }
    writeU32(static_cast<std::uint32_t>(count));
}

void Archive::need(std::size_t count, const char* what) const {
    if (count > m_in.size() - m_pos) {
        throw ArchiveError("file ends at byte " + std::to_string(m_in.size()) + " inside " + what +
                           " at byte " + std::to_string(m_pos));
    }
}

std::uint8_t Archive::readByte(const char* what) {
    need(1, what);
    return static_cast<std::uint8_t>(m_in[m_pos++]);
}

std::uint16_t Archive::readU16(const char* what) {
    need(2, what);
    const std::uint16_t low = static_cast<std::uint8_t>(m_in[m_pos]);
    const std::uint16_t high = static_cast<std::uint8_t>(m_in[m_pos + 1]);
    m_pos += 2;
    return static_cast<std::uint16_t>(low | (high << 8));
}

std::uint32_t Archive::readU32(const char* what) {
    need(4, what);
    const std::uint32_t low = readU16(what);
    return low | (static_cast<std::uint32_t>(readU16(what)) << 16);
}

std::uint64_t Archive::readU64(const char* what) {
    need(8, what);
    const std::uint64_t low = readU32(what);
    return low | (static_cast<std::uint64_t>(readU32(what)) << 32);
}

std::uint32_t Archive::readCount() {
    const std::size_t start = m_pos;
    const std::uint32_t count = readU32("a list count");
    // Every element takes at least one byte.
    if (count > m_in.size() - m_pos) {
        throw ArchiveError("list count " + std::to_string(count) + " at byte " +
                           std::to_string(start) + " exceeds the " +
                           std::to_string(m_in.size() - m_pos) + " bytes left");
    }
    return count;
}

std::string Archive::readText() {
    const std::size_t start = m_pos;
    bool utf16 = false;
    std::uint64_t length = readByte("a text length");
    if (length == kLongLength) {
        length = readU16("a text length");
        if (length == kUtf16Marker) {
            utf16 = true;
            length = readByte("a text length");
            if (length == kLongLength) {
                length = readU16("a text length");
                if (length == kUtf16Marker) {
                    throw ArchiveError("repeated UTF-16 marker at byte " + std::to_string(start));
                }
            }
        }
        if (length == kLength32) length = readU32("a text length");
    }
    const std::uint64_t left = m_in.size() - m_pos;
    if (length > (utf16 ? left / 2 : left)) {
        throw ArchiveError("text length " + std::to_string(length) + " at byte " +
                           std::to_string(start) + " exceeds the " + std::to_string(left) +
                           " bytes left");
    }
    const std::size_t count = static_cast<std::size_t>(length);
    if (!utf16) {
        const std::string_view bytes = m_in.substr(m_pos, count);
        m_pos += count;
        return isAscii(bytes) ? std::string(bytes) : windows1252ToUtf8(bytes);
    }
    std::u16string units(count, u'\0');
    for (char16_t& unit : units) unit = readU16("a UTF-16 text");
    return utf16ToUtf8(units);
}

}  // namespace quorvel
