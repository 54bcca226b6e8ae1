#pragma once

// The thirty tips of the tip window, each teaching one thing a user can try at once.

#include <array>
#include <string_view>

namespace quorvel {

inline constexpr int kTipCount = 30;

const std::array<std::string_view, kTipCount>& TipTexts();

// Tip `index` (0..29); an index outside that range gives the first tip.
std::string_view TipText(int index);

}  // namespace quorvel
