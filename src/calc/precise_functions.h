#pragma once

// The elementary functions computed to any number of places, for the "precise functions"
// setting. Each value comes back as decimal text whose rounding to `places` fraction digits
// (half up, as RoundToPlaces does) is the true value rounded: the digits past `places` are
// checked against the error bound, and the work is redone with more digits when they cannot
// decide the rounding.

#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// Results with more integer digits than this are refused, as a double overflow is otherwise.
inline constexpr int kPreciseMaxIntegerDigits = 10000;

// name: sqrt exp ln log sin cos tan arcsin arccos arctan sinh cosh tanh deg rad; `argument`
// is plain decimal text inside the function's domain (the caller checks it). Angles are in
// degrees when `degrees`, as the angle-unit setting says. Nothing when the value is too large.
std::optional<std::string> PreciseFunction(std::string_view name, std::string_view argument,
                                           int places, bool degrees);

// base ^ exponent for base > 0 (or 0 with a positive exponent); nothing when too large.
std::optional<std::string> PrecisePower(std::string_view base, std::string_view exponent,
                                        int places);

// Pi to `places` fraction digits, cut (not rounded); computed, not read from a constant.
std::string PiDigits(int places);

}  // namespace quorvel
