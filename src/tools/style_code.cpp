#include "tools/style_code.h"

#include <array>
#include <string>

#include "calc/text_util.h"

namespace quorvel {

namespace {

constexpr std::array<std::string_view, 6> kMessages = {
    "You have select the standard style.Please exit the calculator and restart it, then you "
    "could use the standard style.Thank you.\r\n",
    "You have select the cartoon style.Please exit the calculator and restart it, then you "
    "could use the cartoon style.Thank you.\r\n",
    "You have select the mini style.Please exit the calculator and restart it, then you could "
    "use the mini style.Thank you.\r\n",
    "You have select the detail style.Please exit the calculator and restart it, then you "
    "could use the detail style.Thank you.\r\n",
    "",
    "You have select the high-contrast style.Please exit the calculator and restart it, then "
    "you could use the high-contrast style.Thank you.\r\n",
};

constexpr std::array<std::string_view, 6> kNames = {"standard", "cartoon", "mini",
                                                    "detail",   "none",    "contrast"};

}  // namespace

WindowStyle styleFromCode(int code) {
    if (code >= 1 && code <= 6) return static_cast<WindowStyle>(code);
    return WindowStyle::Standard;
}

std::string_view styleMessage(int code) {
    if (code < 1 || code > 6) return {};
    return kMessages[static_cast<std::size_t>(code - 1)];
}

std::string_view styleName(WindowStyle style) {
    return kNames[static_cast<std::size_t>(static_cast<int>(style) - 1)];
}

std::optional<WindowStyle> styleFromName(std::string_view name) {
    const std::string lower = ToLower(name);
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (kNames[i] == lower) return static_cast<WindowStyle>(static_cast<int>(i) + 1);
    }
    return std::nullopt;
}

}  // namespace quorvel
