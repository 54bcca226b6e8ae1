#include "tools/number_keys.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(IsFloatEntry, DigitsOnePointMinusOnlyFirst) {
    struct Case {
        const char* text;
        bool accepted;
    };
    constexpr Case kCases[] = {
        {"", true},     {"-", true},      {".", true},    {"-.5", true},    {"12.75", true},
        {"0", true},    {"-0.001", true}, {"1.", true},   {"1.2.3", false}, {"..", false},
        {"--1", false}, {"1-", false},    {"1-2", false}, {"+1", false},    {"1e5", false},
        {" 1", false},  {"1,5", false},   {"x", false},   {"-1.5-", false}, {"12a", false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(IsFloatEntry(c.text), c.accepted);
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
