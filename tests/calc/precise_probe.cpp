// Reads "NAME ARGUMENT PLACES UNIT" lines (UNIT rad or deg; NAME pow takes "BASE^EXPONENT")
// and prints each precise value rounded to PLACES, or "none" when it was refused. The
// differential test against mpmath drives it.

#include <iostream>
#include <sstream>
#include <string>

#include "calc/decimal_text.h"
#include "calc/precise_functions.h"

int main() {
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream in(line);
        std::string name, argument, unit;
        int places = 0;
        in >> name >> argument >> places >> unit;
        std::optional<std::string> value;
        if (name == "pow") {
            const auto caret = argument.find('^');
            value = quorvel::PrecisePower(argument.substr(0, caret), argument.substr(caret + 1),
                                          places);
        } else {
            value = quorvel::PreciseFunction(name, argument, places, unit == "deg");
        }
        std::cout << (value ? quorvel::RoundToPlaces(*value, places) : "none") << '\n';
    }
}
