#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// White space of the C locale at both ends.
std::string_view Trim(std::string_view text);
std::string ToLower(std::string_view text);

}  // namespace quorvel
