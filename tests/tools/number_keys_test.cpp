#include "tools/number_keys.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(IsFloatEntry, DigitsOnePointMinusOnlyFirstANumberHasADigit) {
    struct Case {
        const char* text;
        bool accepted;
        bool number;
    };
    constexpr Case kCases[] = {
        {"", true, false},       {"-", true, false},      {".", true, false},
        {"-.", true, false},     {"-.5", true, true},     {"12.75", true, true},
        {"0", true, true},       {"-0.001", true, true},  {"1.", true, true},
        {"1.2.3", false, false}, {"..", false, false},    {"--1", false, false},
        {"1-", false, false},    {"1-2", false, false},   {"+1", false, false},
        {"1e5", false, false},   {" 1", false, false},    {"1,5", false, false},
        {"x", false, false},     {"-1.5-", false, false}, {"12a", false, false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(IsFloatEntry(c.text), c.accepted);
        EXPECT_EQ(IsFloatNumber(c.text), c.number);
    }
}

TEST(ConvValueKey, DigitsConvertPointAndBackspaceWaitOthersDropped) {
    struct Case {
        char key;
        ValueKey action;
    };
    constexpr Case kCases[] = {
        {'0', ValueKey::AcceptAndRecompute},
        {'5', ValueKey::AcceptAndRecompute},
        {'9', ValueKey::AcceptAndRecompute},
        {'.', ValueKey::Accept},
        {kBackspace, ValueKey::Accept},
        {'-', ValueKey::Discard},
        {'+', ValueKey::Discard},
        {'e', ValueKey::Discard},
        {',', ValueKey::Discard},
        {' ', ValueKey::Discard},
        {'\x0e', ValueKey::Discard},
        {'\t', ValueKey::Discard},
        {'a', ValueKey::Discard},
        {'/', ValueKey::Discard},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(static_cast<int>(c.key));
        EXPECT_EQ(ConvValueKey(c.key), c.action);
    }
}

}  // namespace
}  // namespace quorvel
