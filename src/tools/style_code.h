#pragma once

// The four styles of the calculator window as the data file records them, and what the style
// message dialog says when the user picks one.

#include <optional>
#include <string_view>

namespace quorvel {

enum class WindowStyle { Standard = 1, Cartoon = 2, Mini = 3, Detail = 4, None = 5 };

// The stored code read at start-up: 5 opens no window; any code other than 1 to 5 is standard.
WindowStyle styleFromCode(int code);

// CResizeDlg's text for a chosen style code 1 to 4; empty for any other code.
std::string_view styleMessage(int code);

// "standard", "cartoon", "mini", "detail", "none".
std::string_view styleName(WindowStyle style);
// The style a name selects, case-insensitively; nothing for an unknown name.
std::optional<WindowStyle> styleFromName(std::string_view name);

}  // namespace quorvel
