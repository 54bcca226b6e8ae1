#pragma once

// The byte encoding of the data file: little-endian integers without padding, IEEE doubles,
// length-prefixed texts and counted lists. One Archive either stores or loads, and every
// record's Serialize goes through exchange(), so a record names its field order once for
// both directions.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace quorvel {

// A read past the end, a length or count the remaining bytes cannot hold, or a value that
// cannot be written; what() says which and where.
class ArchiveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Archive {
public:
    // A storing archive; bytes() holds what was written.
    Archive() = default;
    // A loading archive over `bytes`, which must outlive it.
    explicit Archive(std::string_view bytes) : m_storing(false), m_in(bytes) {}
    explicit Archive(std::string&&) = delete;

    bool isStoring() const { return m_storing; }

    // Storing writes the value; loading reads into it. A failed read throws ArchiveError
    // and leaves the value as it was.
    void exchange(std::int32_t& value);
    void exchange(std::uint8_t& value);
    void exchange(double& value);
    // UTF-8 in memory. Written one byte per character when all ASCII, else as UTF-16.
    void exchange(std::string& text);

    // A 32-bit count, then the elements. Loading empties the list first; after a failed
    // read it holds the elements read in full so far.
    template <class T>
    void exchange(std::vector<T>& list);

    // Room for `bytes` written bytes, so that a large file is not copied as it grows.
    void reserve(std::size_t bytes) { m_out.reserve(bytes); }
    const std::string& bytes() const { return m_out; }
    std::string takeBytes() { return std::move(m_out); }
    std::size_t position() const { return m_pos; }
    bool atEnd() const { return m_pos == m_in.size(); }

private:
    template <class T>
    void exchangeElement(T& element);

    void writeByte(std::uint8_t value) { m_out += static_cast<char>(value); }
    void writeU16(std::uint16_t value);
    void writeU32(std::uint32_t value);
    void writeU64(std::uint64_t value);
    void writeLength(std::size_t length);
    void writeCount(std::size_t count);

    void need(std::size_t count, const char* what) const;
    std::uint8_t readByte(const char* what);
    std::uint16_t readU16(const char* what);
    std::uint32_t readU32(const char* what);
    std::uint64_t readU64(const char* what);
    std::uint32_t readCount();
    std::string readText();

    bool m_storing = true;
    std::string m_out;
    std::string_view m_in;
    std::size_t m_pos = 0;
};

template <class T>
void Archive::exchangeElement(T& element) {
    if constexpr (std::is_same_v<T, std::string>) {
        exchange(element);
    } else {
        element.Serialize(*this);
    }
}

template <class T>
void Archive::exchange(std::vector<T>& list) {
    if (m_storing) {
        writeCount(list.size());
        for (T& element : list) exchangeElement(element);
        return;
    }
    // No reserve by the count: it is untrusted, and each element read consumes file bytes,
    // so memory and time stay bounded by the file's size.
    const std::uint32_t count = readCount();
    list.clear();
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t before = m_pos;
        T element{};
        exchangeElement(element);
        if (m_pos == before) throw ArchiveError("list element of no bytes");
        list.push_back(std::move(element));
    }
}

}  // namespace quorvel
