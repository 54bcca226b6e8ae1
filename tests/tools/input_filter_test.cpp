#include "tools/input_filter.h"

#include <gtest/gtest.h>

#include <string>

#include "calc/function_table.h"

namespace quorvel {
namespace {

// Types every key of `keys` through the whole filter and writes what a user would see: the
// inserted characters, "<fresh>" and "<equal>" for the two requests.
std::string type(InputFilter& filter, std::string_view keys) {
    std::string seen;
    for (char key : keys) {
        switch (filter.precheck(key)) {
            case InputFilter::Request::FreshInput:
                seen += "<fresh>";
                break;
            case InputFilter::Request::Equal:
                seen += "<equal>";
                continue;
            case InputFilter::Request::None:
                break;
        }
        if (auto accepted = filter.accept(key)) seen += *accepted;
    }
    return seen;
}

struct Case {
    const char* keys;
    const char* inserted;
};

constexpr Case kTyping[] = {
    {"sin(", "Sin("},
    {"last6", "Last"},
    {"last1", "Last1"},
    {"last5+2", "Last5+2"},
    {"pi*", "Pi*"},
    {".", ""},
    {"3.5", "3.5"},
    {"(.", "("},
    {"x", "X"},
    {"y", "Y"},
    {"fmkw", "FMKW"},
    {"2*x+1", "2*X+1"},
    {"sinh(", "Sinh("},
    {"sin3", "Sin"},
    {"sqrt(9)", "Sqrt(9)"},
    {"sqr(", "Sqr"},
    {"arcsin(", "Arcsin("},
    {"arccos(1)", "Arccos(1)"},
    {"arctan(", "Arctan("},
    {"arcsinh", "Arcsin"},
    {"ln(", "Ln("},
    {"log(", "Log("},
    {"exp(", "Exp("},
    {"abs(", "Abs("},
    {"int(", "Int("},
    {"rad(", "Rad("},
    {"deg(", "Deg("},
    {"cosh(", "Cosh("},
    {"tanh(", "Tanh("},
    {"sec(", "S"},
    {"b", ""},
    {"hello", "E"},
    {"2^3/4-1", "2^3/4-1"},
    {"SIN(", "Sin("},
    {"Pi*2", "Pi*2"},
    {"LAST2", "Last2"},
    {"1=", "1<equal>"},
    {"p+", "P"},
    {"pi.", "Pi"},
    {" ", ""},
};

TEST(InputFilter, TypesOnlyKnownWords) {
    for (const Case& c : kTyping) {
        SCOPED_TRACE(c.keys);
        InputFilter filter;
        EXPECT_EQ(type(filter, c.keys), c.inserted);
    }
}

std::string capitalised(std::string_view name) {
    std::string out(name);
    out[0] = static_cast<char>(out[0] - 'a' + 'A');
    return out;
}

// A name waits for its "(" only once it is whole; on the way, "(" and digits are dropped.
TEST(InputFilter, TypesEveryFunctionOfTheTable) {
    for (const FunctionEntry& f : FunctionTable()) {
        SCOPED_TRACE(f.name);
        const std::string name(f.name);
        InputFilter whole;
        EXPECT_EQ(type(whole, name), capitalised(name));
        EXPECT_EQ(whole.word(), name);
        EXPECT_TRUE(whole.nameComplete());
        EXPECT_EQ(type(whole, "(-1)"), "(-1)");

        for (std::size_t length = 1; length < name.size(); ++length) {
            const std::string part = name.substr(0, length);
            SCOPED_TRACE(part);
            const bool isName = FindFunction(part) != nullptr;
            InputFilter partly;
            type(partly, part);
            EXPECT_EQ(partly.nameComplete(), isName);
            EXPECT_EQ(type(partly, "(7"), isName ? "(7" : "");
        }
    }
}

TEST(InputFilter, DeleteBackwardsFromEveryFunctionName) {
    for (const FunctionEntry& f : FunctionTable()) {
        SCOPED_TRACE(f.name);
        const std::string shown = "2*" + capitalised(f.name);
        const std::string shorter(f.name.substr(0, f.name.size() - 1));
        InputFilter filter;
        filter.deleteBackwards(shown);
        // The keyword scanner does not know "int", so its "t" goes like any letter.
        EXPECT_EQ(filter.word(), f.keyword ? shorter : "");
        EXPECT_EQ(filter.nameComplete(), f.keyword && FindFunction(shorter) != nullptr);
    }
}

constexpr Case kAfterResult[] = {
    {"5", "<fresh>5"}, {"=", "<fresh>"},        {"==", "<fresh><equal>"},
    {".", "<fresh>"},  {"sin(", "<fresh>Sin("},
};

TEST(InputFilter, FirstKeyAfterAResultClearsTheDisplay) {
    for (const Case& c : kAfterResult) {
        SCOPED_TRACE(c.keys);
        InputFilter filter;
        filter.setFreshInput(true);
        EXPECT_EQ(type(filter, c.keys), c.inserted);
        EXPECT_FALSE(filter.freshInput());
    }
}

struct DeleteCase {
    const char* text;  // the box before Backspace, caret at its end
    const char* word;  // word buffer afterwards
    bool complete;     // name-complete afterwards
    const char* then;  // keys typed afterwards
    const char* inserted;
};

constexpr DeleteCase kDeletes[] = {
    {"Sin", "si", false, "n(", "n("},  {"Sinh", "sin", true, "(", "("},
    {"Sqrt", "sqr", false, "(t", "t"}, {"Arcsin", "arcsi", false, "(n(", "n("},
    {"Pi", "p", false, "i*", "i*"},    {"Last3", "last", false, "4", "4"},
    {"2*Ln", "l", false, "n(", "n("},  {"25", "", false, ".", "."},
    {"Sin(", "", false, "(", "("},
};

TEST(InputFilter, DeleteBackwardsRebuildsTheWord) {
    for (const DeleteCase& c : kDeletes) {
        SCOPED_TRACE(c.text);
        InputFilter filter;
        type(filter, "1");  // a digit last, so the "." rows see one
        filter.deleteBackwards(c.text);
        EXPECT_EQ(filter.word(), c.word);
        EXPECT_EQ(filter.nameComplete(), c.complete);
        EXPECT_EQ(type(filter, c.then), c.inserted);
    }
}

TEST(InputFilter, DeleteBackwardsInsideAWordDropsItsLastLetter) {
    InputFilter filter;
    EXPECT_EQ(type(filter, "arc"), "Arc");
    filter.deleteBackwards("Arc");
    EXPECT_EQ(filter.word(), "ar");
    filter.deleteBackwards("Ar");
    EXPECT_EQ(filter.word(), "a");
    filter.deleteBackwards("A");
    EXPECT_EQ(filter.word(), "");
    EXPECT_EQ(type(filter, "s"), "S");
}

struct RebuildCase {
    const char* before;  // text in front of a selection
    const char* keys;
    const char* inserted;
};

constexpr RebuildCase kRebuilds[] = {
    {"2*Sin", "(", "("}, {"2*Sin", "h", "h"}, {"Pi", "*", "*"}, {"Last1", "+", "+"},
    {"3", ".", "."},     {"", ".", ""},       {"(", "5", "5"},
};

TEST(InputFilter, RebuildFromTheTextInFrontOfASelection) {
    for (const RebuildCase& c : kRebuilds) {
        SCOPED_TRACE(c.before);
        InputFilter filter;
        type(filter, "co");  // a half-typed word that the rebuild must forget
        filter.rebuildFrom(c.before);
        EXPECT_EQ(type(filter, c.keys), c.inserted);
    }
}

TEST(InputFilter, ResetForgetsTheNameBeingTyped) {
    InputFilter filter;
    type(filter, "sin");
    filter.reset();
    EXPECT_EQ(filter.word(), "");
    EXPECT_FALSE(filter.nameComplete());
    EXPECT_EQ(type(filter, "(5"), "(5");
}

}  // namespace
}  // namespace quorvel
