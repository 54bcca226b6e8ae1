#pragma once

// Operations on number texts as characters: the shown result is built from these, so each
// one follows the calculator's own rules rather than a numeric round trip.

#include <string>
#include <string_view>

namespace quorvel {

// Drops zeros after the point (and a point left last); texts with "E" or no point stay.
std::string StripTrailingZeros(std::string_view text);
// The same as a view into `text`: stripping only ever shortens it.
std::string_view WithoutTrailingZeros(std::string_view text);

// Drops leading zeros but keeps the digit just left of the point ("00.5" -> "0.5").
std::string StripLeadingZeros(std::string_view text);

// Rounds half up on the decimal digits to at most `places` fraction digits.
std::string RoundToPlaces(std::string_view text, int places);

// The last two into `out`, whose capacity is reused; `out` must not hold `text`.
void StripLeadingZeros(std::string_view text, std::string& out);
void RoundToPlaces(std::string_view text, int places, std::string& out);

// The E form of an already rounded value, or the value itself when it needs none.
// More than `intDigits` integer digits gives "d.dddE+x"; a value below 1 with at least
// `intDigits` zeros after the point gives "d.dddE-x"; fraction digits are cut to `places`.
std::string ENotation(std::string_view value, int places, int intDigits);

// Whether ENotation gives something other than the value itself.
bool NeedsENotation(std::string_view value, int intDigits);

}  // namespace quorvel
