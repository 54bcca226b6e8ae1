// Unit names as people type them: conventional abbreviations, plurals and spellings reach the
// table's rows, which keep their own names; a line such as "5 feet to m" is read.

#include "tools/unit_names.h"

#include <gtest/gtest.h>

#include <string>

#include "tools/unit_table.h"

namespace quorvel {
namespace {

// Every abbreviation names a row that exists, and in that row's category it reaches the row:
// no abbreviation is dead or taken by another row first.
TEST(UnitNames, EveryConventionalAbbreviationReachesItsRow) {
    const auto abbreviations = ConventionalUnitAbbreviations();
    ASSERT_GT(abbreviations.size(), 80u);
    for (const UnitAbbreviation& a : abbreviations) {
        SCOPED_TRACE(std::string(a.abbreviation) + " -> " + std::string(a.row));
        int categories = 0;
        for (std::string_view category : UnitCategoryNames()) {
            UnitRows rows;
            rows.LoadUnitCategory(category);
            if (!rows.find(a.row)) continue;
            ++categories;
            EXPECT_EQ(MatchUnitName(category, a.abbreviation).name, a.row) << category;
        }
        EXPECT_GT(categories, 0) << "no such row";
    }
}

TEST(UnitNames, PluralsSpellingsAndAbbreviationsFindTheRow) {
    struct Case {
        const char* category;
        const char* typed;
        const char* row;
    };
    const Case kCases[] = {
        {"length", "feet", "foot(UK and US)"},
        {"length", "FT", "foot(UK and US)"},
        {"length", "inches", "inch"},
        {"length", "yards", "yard"},
        {"length", "miles", "mile(international,UK,US)"},
        {"length", "meters", "metre"},
        {"length", "kilometers", "kilometre"},
        {"length", "light years", "light year"},
        {"length", "angstrom", "angstroms"},
        {"area", "square feet", "square foot(US,UK)"},
        {"area", "square centimetres", "square centimeter"},
        {"area", "square yards", "square jard"},
        {"area", "circular inch", "circular inches"},
        {"mass", "pounds", "pound"},
        {"mass", "LBS", "pound"},
        {"mass", "ounces", "ounce(avoirdupoi)"},
        {"mass", "kilograms", "kilogram[kg]"},
        {"volume", "litres", "litre[l or L]"},
        {"volume", "liters", "litre[l or L]"},
        {"volume", "cubic feet", "cubic foot"},
        {"volume", "fluid ounces(UK)", "fluid ounce(UK)"},
        {"force", "newtons", "newton[N]"},
        {"force", "pounds force", "pound force"},
        {"power", "watts", "watt[W]"},
        {"power", "calorie/hour", "calories/hour"},
        {"energy", "joules", "joule[J]"},
        {"energy", "kilowatt hours", "kilowatt hour[kWh]"},
        {"energy", "therm", "therms"},
        {"time", "seconds", "second"},
        {"time", "hours", "hour"},
        {"time", "days", "day(24Hour)"},
        {"temperature", "C", "Celsius (C)"},
        {"temperature", "Fahrenheit", "Fahrenheit (F)"},
        {"press", "pascals", "pascal [Pa]"},
        {"press", "atmospheres", "atmosphere"},
        {"speed", "miles per hour", "mile/hour"},
        {"speed", "metres per second", "metre/second [m/s]"},
        {"speed", "feet/second", "foot/second"},
        {"speed", "knots", "knot"},
        {"prefixes", "kilo", "kilo"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.typed);
        const NameMatch m = MatchUnitName(c.category, c.typed);
        EXPECT_EQ(m.name, c.row);
        EXPECT_FALSE(m.byPrefix);
    }
}

TEST(UnitNames, ClosestNamesAreCloseInSpelling) {
    struct Case {
        const char* category;
        const char* typed;
        std::vector<std::string> closest;
    };
    const Case kCases[] = {
        {"mass", "lbz", {"pound"}},
        {"mass", "gramm", {"gram"}},
        {"length", "fooot", {"foot(UK and US)", "foot(US survey)"}},
        {"length", "yrad", {"yard"}},
        // Nothing in the table is near: no suggestion rather than a far one.
        {"mass", "stone", {}},
        {"length", "qqq", {}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.typed);
        const NameMatch m = MatchUnitName(c.category, c.typed);
        EXPECT_EQ(m.name, "");
        EXPECT_EQ(m.candidates, c.closest);
    }
    EXPECT_EQ(NameMatchMessage("unit", "stone", "mass", MatchUnitName("mass", "stone")),
              "unit \"stone\" is not known in mass (quorvel-calc --units mass lists them)");
    // A prefix that fits several rows is still ambiguous.
    const NameMatch mic = MatchUnitName("length", "mic");
    EXPECT_TRUE(mic.ambiguous);
    EXPECT_EQ(mic.candidates, (std::vector<std::string>{"micron", "micrometre"}));
}

TEST(UnitNames, ConversionLinesAreReadWithTheirSeparator) {
    struct Case {
        const char* line;
        std::vector<std::string> first;  // value, from, to of the first reading; none when empty
    };
    const Case kCases[] = {
        {"5 feet to m", {"5", "feet", "m"}},
        {"  2.5km in mi ", {"2.5", "km", "mi"}},
        {"-40 degC -> degF", {"-40", "degC", "degF"}},
        {"1.5E+3 m to km", {"1.5E+3", "m", "km"}},
        {"5 in to cm", {"5", "in", "cm"}},
        {"5 ft in in", {"5", "ft", "in"}},
        {"36 kilometres per hour to m/s", {"36", "kilometres per hour", "m/s"}},
        {"2+3", {}},
        {"5 to m", {}},
        {"feet to m", {}},
        {"5 ft to 3", {}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        const auto readings = ReadConversionLine(c.line);
        if (c.first.empty()) {
            EXPECT_TRUE(readings.empty());
            continue;
        }
        ASSERT_FALSE(readings.empty());
        EXPECT_EQ(readings.front().value, c.first[0]);
        EXPECT_EQ(readings.front().from, c.first[1]);
        EXPECT_EQ(readings.front().to, c.first[2]);
    }
    // "5 in in cm": the first "in" is the unit, the second the separator.
    const auto inches = ReadConversionLine("5 in in cm");
    ASSERT_EQ(inches.size(), 1u);
    EXPECT_EQ(inches.front().from, "in");
}

TEST(UnitNames, APairFindsTheCategoryThatNamesBothOutright) {
    struct Case {
        const char* from;
        const char* to;
        const char* category;
    };
    // "h" starts "hectare" in area, but time names it outright; "C" starts rows of area and
    // length, but temperature knows it.
    const Case kCases[] = {
        {"h", "s", "time"},      {"C", "F", "temperature"},   {"ha", "acres", "area"},
        {"kph", "mph", "speed"}, {"lb", "kg", "mass"},        {"ml", "cc", "volume"},
        {"kWh", "J", "energy"},  {"psi", "bar", "press"},     {"hp", "kW", "power"},
        {"lbf", "N", "force"},   {"kilo", "mega", "prefixes"}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.from);
        const UnitPairMatch m = MatchUnitPair(c.from, c.to);
        ASSERT_TRUE(m.pair) << m.message;
        EXPECT_EQ(m.pair->category, c.category);
    }
    EXPECT_EQ(MatchUnitPair("ft", "kg").message,
              "\"ft\" is a unit of length and \"kg\" one of mass; a unit converts only within "
              "its category");
    EXPECT_EQ(MatchUnitPair("ft", "metr").pair->to, "metre");
    EXPECT_EQ(MatchUnitPair("ft", "mtre").message,
              "unit \"mtre\" is not known in length; closest: metre");
}

}  // namespace
}  // namespace quorvel
