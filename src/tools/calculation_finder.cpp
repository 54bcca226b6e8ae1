#include "tools/calculation_finder.h"

#include <array>
#include <cstddef>

#include "calc/keyword_scanner.h"
#include "calc/text_util.h"

namespace quorvel {
namespace {

bool isOperator(char c) { return c == '+' || c == '-' || c == '*' || c == '/' || c == '^'; }
constexpr unsigned char kLetter = 1;
constexpr unsigned char kWordChar = 2;
constexpr unsigned char kOpensStretch = 4;  // a digit, "(", ".", "+" or "-"
// Bytes of 0x80 and above are letters of some encoding, so they belong to words too. One
// lookup per character: the scanner asks at every byte of every line.
constexpr std::array<unsigned char, 256> makeCharClasses() {
    std::array<unsigned char, 256> table{};
    for (unsigned u = 0; u < 256; ++u) {
        const bool letter =
            (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' || u >= 0x80;
        const bool digit = u >= '0' && u <= '9';
        const bool opens = digit || u == '(' || u == '.' || u == '+' || u == '-';
        table[u] =
            static_cast<unsigned char>((letter ? kLetter : 0) | (letter || digit ? kWordChar : 0) |
                                       (opens ? kOpensStretch : 0));
    }
    return table;
}
constexpr std::array<unsigned char, 256> kCharClasses = makeCharClasses();
bool isLetter(char c) { return (kCharClasses[static_cast<unsigned char>(c)] & kLetter) != 0; }
bool isWordChar(char c) { return (kCharClasses[static_cast<unsigned char>(c)] & kWordChar) != 0; }

const KeywordScanner& keywords() {
    static const KeywordScanner scanner;
    return scanner;
}

// Length of the name at `pos` if it may stand in a calculation there: a function name only
// with its bracket, "pi" and "last1".."last5" only when no letter or digit goes on. The scanner
// is handed down from the line's start: it is asked at every word.
std::size_t nameLength(const KeywordScanner& scanner, std::string_view line, std::size_t pos) {
    if (!scanner.mayBeginAt(line, pos)) return 0;
    const auto match = scanner.findStartingAt(line, pos);
    if (!match) return 0;
    const std::size_t end = pos + match->keyword.text.size();
    const bool atEnd = end >= line.size();
    if (match->keyword.isFunction) return !atEnd && line[end] == '(' ? end - pos : 0;
    return atEnd || !isWordChar(line[end]) ? end - pos : 0;
}

// A digit, "(", a point before a digit, or a usable name.
bool startsOperand(const KeywordScanner& scanner, std::string_view line, std::size_t pos) {
    if (pos >= line.size()) return false;
    const char c = line[pos];
    if (IsDigit(c) || c == '(') return true;
    if (c == '.') return pos + 1 < line.size() && IsDigit(line[pos + 1]);
    return isLetter(c) && nameLength(scanner, line, pos) > 0;
}

// Not inside a word, nor after the comma of "1,000" or "3,5": those digits are not a number
// of their own.
bool startsStretch(const KeywordScanner& scanner, std::string_view line, std::size_t pos) {
    if (pos > 0 && isWordChar(line[pos - 1])) return false;
    if (pos > 1 && line[pos - 1] == ',' && IsDigit(line[pos - 2])) return false;
    if (line[pos] == '+' || line[pos] == '-') return startsOperand(scanner, line, pos + 1);
    return startsOperand(scanner, line, pos);
}

// 2026-12-08, 2026/12/08, 08-12-2026, 8/12/2026: three digit groups, one kind of separator,
// a four-digit year first or last and one or two digits for the others.
bool looksLikeDate(std::string_view piece) {
    std::array<std::size_t, 3> lengths{};
    std::size_t group = 0;
    char separator = 0;
    for (const char c : piece) {
        if (IsDigit(c)) {
            ++lengths[group];
        } else if ((c == '-' || c == '/') && group < 2 && lengths[group] > 0 &&
                   (separator == 0 || separator == c)) {
            separator = c;
            ++group;
        } else {
            return false;
        }
    }
    if (group != 2) return false;
    const auto small = [](std::size_t n) { return n == 1 || n == 2; };
    return (lengths[0] == 4 && small(lengths[1]) && small(lengths[2])) ||
           (small(lengths[0]) && small(lengths[1]) && lengths[2] == 4);
}

// Worth calculating: an operator that follows an operand, or a function call. A number, a
// number in brackets, a signed number or a lone "pi" is ordinary text.
bool holdsCalculation(const KeywordScanner& scanner, std::string_view piece) {
    bool afterOperand = false;
    for (std::size_t i = 0; i < piece.size();) {
        const char c = piece[i];
        if (isLetter(c)) {
            const std::size_t length = nameLength(scanner, piece, i);
            if (length == 0) return false;
            if (scanner.findStartingAt(piece, i)->keyword.isFunction) return true;
            i += length;
            afterOperand = true;
            continue;
        }
        if (isOperator(c) && afterOperand) return true;
        afterOperand = IsDigit(c) || c == '.' || c == ')';
        ++i;
    }
    return false;
}

struct Stretch {
    std::size_t begin;    // of the calculation, after brackets that never close
    std::size_t end;      // of the calculation, before a trailing operator or point
    std::size_t scanned;  // where the characters a calculation may hold ran out
};

Stretch scanStretch(const KeywordScanner& scanner, std::string_view line, std::size_t begin) {
    std::size_t pos = begin;
    if (line[pos] == '+' || line[pos] == '-') ++pos;
    int depth = 0;
    while (pos < line.size()) {
        const char c = line[pos];
        if (IsDigit(c) || c == '.' || isOperator(c)) {
            ++pos;
        } else if (c == '(') {
            ++depth;
            ++pos;
        } else if (c == ')') {
            if (depth == 0) break;  // closes something before the stretch
            --depth;
            ++pos;
        } else if (const std::size_t length = isLetter(c) ? nameLength(scanner, line, pos) : 0) {
            pos += length;
        } else {
            break;
        }
    }
    Stretch s{begin, pos, pos};
    auto trimEnd = [&] {
        while (s.end > s.begin) {
            const char c = line[s.end - 1];
            if (c == '(') {
                --depth;
            } else if (!isOperator(c) && c != '.') {
                break;
            }
            --s.end;
        }
    };
    trimEnd();
    while (depth > 0 && s.begin < s.end && line[s.begin] == '(') {
        ++s.begin;
        --depth;
    }
    trimEnd();
    return s;
}

}  // namespace

void FindCalculations(std::string_view line, std::vector<LineSegment>& segments) {
    const KeywordScanner& scanner = keywords();
    segments.clear();
    std::size_t textBegin = 0;
    std::size_t pos = 0;
    while (pos < line.size()) {
        const unsigned char kind = kCharClasses[static_cast<unsigned char>(line[pos])];
        if ((kind & kLetter) != 0) {
            // Most words begin no name: their first two letters say so without a call.
            if ((pos > 0 && isWordChar(line[pos - 1])) || !scanner.mayBeginAt(line, pos) ||
                nameLength(scanner, line, pos) == 0) {
                while (pos < line.size() && isWordChar(line[pos])) ++pos;
                continue;
            }
        } else if ((kind & kOpensStretch) == 0) {
            // Blanks and punctuation, most of a line of prose: no calculation starts there.
            ++pos;
            continue;
        }
        if (!startsStretch(scanner, line, pos)) {
            ++pos;
            continue;
        }
        const Stretch s = scanStretch(scanner, line, pos);
        if (s.begin >= s.end) {
            pos = s.scanned;
            continue;
        }
        const std::string_view piece = line.substr(s.begin, s.end - s.begin);
        // A number glued to a word ("3x", "10km") or already answered ("2+3=5") is left alone.
        const bool glued = s.end < line.size() && (isWordChar(line[s.end]) || line[s.end] == '=');
        if (!glued && !looksLikeDate(piece) && holdsCalculation(scanner, piece)) {
            if (s.begin > textBegin) {
                segments.push_back({line.substr(textBegin, s.begin - textBegin), false});
            }
            segments.push_back({piece, true});
            textBegin = s.end;
        }
        pos = s.end;
    }
    if (textBegin < line.size()) segments.push_back({line.substr(textBegin), false});
}

std::vector<LineSegment> FindCalculations(std::string_view line) {
    std::vector<LineSegment> segments;
    FindCalculations(line, segments);
    return segments;
}

}  // namespace quorvel
