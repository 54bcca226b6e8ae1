#include "tools/unit_table.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "calc/text_util.h"

namespace quorvel {
namespace {

TEST(UnitCategoryNames, ThirteenInMatchingOrder) {
    const std::vector<std::string_view> expected = {
        "area", "length",      "mass",  "volume", "force",    "power",   "energy",
        "time", "temperature", "press", "speed",  "prefixes", "currency"};
    const auto names = UnitCategoryNames();
    EXPECT_EQ(std::vector<std::string_view>(names.begin(), names.end()), expected);
}

TEST(UnitCategoryRows, RowCountsAndEnds) {
    struct Case {
        const char* category;
        std::size_t count;
        UnitRow first;
        UnitRow last;
    };
    const Case kCases[] = {
        {"area", 14, {"acre", "4046.8564224"}, {"squares(of timber)", "9.290304"}},
        {"length", 30, {"angstroms", "0.0000000001"}, {"yard", "0.9144"}},
        {"mass", 12, {"carat(metric)", "0.0002"}, {"ton(metric)", "1000"}},
        {"volume", 26, {"barrel(oil)", "158.987294928"}, {"quart,liquid(US)", "0.946352946"}},
        {"force", 12, {"dyne", "0.00001"}, {"ton(US) force", "8896.443"}},
        {"power", 21, {"Btu/hour", "0.293071"}, {"watt[W]", "1"}},
        {"energy", 26, {"British thermal unit(IT)", "1055.056"}, {"watt hour[Wh]", "3600"}},
        {"time", 14, {"day(24Hour)", "24*60*60"}, {"year(366days)", "366*24*60*60"}},
        {"temperature", 2, {"Celsius (C)", "x*9/5+32"}, {"Fahrenheit (F)", "(x-32)*5/9"}},
        {"press", 31, {"atmosphere", "101325"}, {"tonne-force/sq.metre", "9806.65"}},
        {"speed", 20, {"centimetre/minute", "1/6000"}, {"yard/second", "0.9144"}},
        {"prefixes",
         20,
         {"yotta", "1000000000000000000000000"},
         {"yocto", "0.000000000000000000000001"}},
        {"currency",
         20,
         {"yotta", "1000000000000000000000000"},
         {"yocto", "0.000000000000000000000001"}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.category);
        const auto rows = UnitCategoryRows(c.category);
        ASSERT_EQ(rows.size(), c.count);
        EXPECT_EQ(rows.front().name, c.first.name);
        EXPECT_EQ(rows.front().factor, c.first.factor);
        EXPECT_EQ(rows.back().name, c.last.name);
        EXPECT_EQ(rows.back().factor, c.last.factor);
    }
}

TEST(UnitCategoryRows, SampleRowsByPosition) {
    struct Case {
        const char* category;
        std::size_t position;
        const char* name;
        const char* factor;
    };
    constexpr Case kCases[] = {
        {"area", 7, "square jard", "0.83612736"},
        {"length", 9, "foot(US survey)", "0.3048006096"},
        {"length", 16, "light year", "9454254955488000"},
        {"length", 21, "mile(international,UK,US)", "1609.344"},
        {"mass", 6, "ounce(avoirdupoi)", "0.028349523125"},
        {"volume", 6, "cubic decametre", "1000000"},
        {"force", 8, "sthene(=kN)", "1000"},
        {"power", 11, "joules/hour", "1/3600"},
        {"power", 16, "kg-force metre/hour", "0.002724"},
        {"energy", 1, "British thermal unit(th)", "1054.350"},
        {"energy", 10, "erg", "1/10000000"},
        {"time", 5, "month(28days)", "28*24*60*60"},
        {"press", 11, "kilopascal [kPa]", "1000"},
        {"speed", 2, "foot/hour", "1/11811"},
        {"speed", 5, "inch/minute", "1/2362.2"},
        {"speed", 7, "kilometre/hour", "1/3.6"},
        {"prefixes", 9, "deca", "10"},
        {"currency", 10, "deci", "0.1"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.category) + " " + c.name);
        const auto rows = UnitCategoryRows(c.category);
        ASSERT_LT(c.position, rows.size());
        EXPECT_EQ(rows[c.position].name, c.name);
        EXPECT_EQ(rows[c.position].factor, c.factor);
    }
}

TEST(UnitCategoryRows, RowsWithFactorOne) {
    struct Case {
        const char* category;
        std::vector<std::string_view> names;
    };
    const Case kCases[] = {
        {"area", {}},
        {"length", {"metre"}},
        {"mass", {"kilogram[kg]"}},
        {"volume", {"cubic decimetre", "litre[l or L]"}},
        {"force", {"newton[N]"}},
        {"power", {"joules/second", "watt[W]"}},
        {"energy", {"joule[J]", "newton metre[Nm]", "watt second[Ws]"}},
        {"time", {"second"}},
        {"press", {"pascal [Pa]", "newton/sq.metre"}},
        {"speed", {"metre/second [m/s]"}},
        {"prefixes", {}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.category);
        std::vector<std::string_view> ones;
        for (const UnitRow& row : UnitCategoryRows(c.category)) {
            if (row.factor == "1") ones.push_back(row.name);
        }
        EXPECT_EQ(ones, c.names);
    }
}

TEST(UnitCategoryRows, CurrencyCarriesThePrefixes) {
    const auto currency = UnitCategoryRows("currency");
    const auto prefixes = UnitCategoryRows("prefixes");
    ASSERT_EQ(currency.size(), prefixes.size());
    for (std::size_t i = 0; i < currency.size(); ++i) {
        EXPECT_EQ(currency[i].name, prefixes[i].name);
        EXPECT_EQ(currency[i].factor, prefixes[i].factor);
    }
}

// A unit is found by name from the command line, so no two rows may share one.
TEST(UnitCategoryRows, NamesAreUniqueWithinACategory) {
    for (std::string_view category : UnitCategoryNames()) {
        SCOPED_TRACE(category);
        std::set<std::string> seen;
        for (const UnitRow& row : UnitCategoryRows(category)) {
            EXPECT_TRUE(seen.insert(ToLower(row.name)).second) << row.name;
        }
    }
}

TEST(LoadUnitCategory, TrimsLowerCasesAndReplaces) {
    struct Case {
        const char* name;
        std::size_t count;
        const char* firstName;
    };
    constexpr Case kCases[] = {
        {"  MASS", 12, "carat(metric)"},
        {"Speed\t", 20, "centimetre/minute"},
        {"length", 30, "angstroms"},
        {"length", 30, "angstroms"},
        {"weight", 0, ""},
        {"", 0, ""},
        {"   ", 0, ""},
        {"lengths", 0, ""},
    };
    UnitRows rows;  // one object for all, as the converter keeps it
    EXPECT_TRUE(rows.empty());
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        rows.LoadUnitCategory(c.name);
        ASSERT_EQ(rows.size(), c.count);
        if (c.count > 0) {
            EXPECT_EQ(rows.row(0).name, c.firstName);
        }
    }
}

TEST(UnitRows, RowAccessAndFind) {
    UnitRows rows;
    rows.LoadUnitCategory("temperature");
    EXPECT_EQ(rows.row(1).factor, "(x-32)*5/9");
    EXPECT_THROW(rows.row(2), std::out_of_range);

    rows.LoadUnitCategory("speed");
    EXPECT_EQ(rows.find("kilometre/hour"), 7u);
    EXPECT_EQ(rows.find("  Metre/Second [M/S] "), 13u);
    EXPECT_EQ(rows.find("metre/second"), std::nullopt);
    EXPECT_EQ(rows.find(""), std::nullopt);
}

TEST(QuickCheckList, FortyTwoEntriesInOrder) {
    struct Case {
        std::size_t number;  // 1-based, as the list is numbered
        const char* description;
        const char* value;
    };
    constexpr Case kCases[] = {
        {1, "Acre->Square Meter", "4046.856422"},
        {2, "Calorie->Joule", "4.1855"},
        {4, "Celsius->Fahrenheit", "*1.8+32"},
        {5, "Fahrenheit->Celsius", "*0.5556-17.78"},
        {8, "Foot->Meter", "0.3048"},
        {12, "Gram->Ounce", "0.0035273961943359"},
        {17, "Kilogram/Square meter->Pound/Square foot", "0.205"},
        {24, "Knot->Mile/Hour", "1.151"},
        {30, "Metre->Nautical Mile", "0.00053995680345572"},
        {36, "Nautical Mile->Mile", "1.151"},
        {40, "Squre centimetre->Square inch", "0.1552"},
        {42, "Squre metre->Squre Foot", "10.764"},
    };
    const auto list = QuickCheckList();
    ASSERT_EQ(list.size(), 42u);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(list[c.number - 1].description, c.description);
        EXPECT_EQ(list[c.number - 1].value, c.value);
    }
    std::set<std::string_view> descriptions;
    for (const QuickCheckEntry& entry : list) descriptions.insert(entry.description);
    EXPECT_EQ(descriptions.size(), list.size());
}

}  // namespace
}  // namespace quorvel
