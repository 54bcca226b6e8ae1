#pragma once

// The styles of the calculator window as the data file records them, and what the style
// message dialog says when the user picks one. The high-contrast style took the first free
// code, 6: a reader that knows only 1 to 5 opens the standard window for it.

#include <optional>
#include <string_view>

namespace quorvel {

enum class WindowStyle { Standard = 1, Cartoon = 2, Mini = 3, Detail = 4, None = 5, Contrast = 6 };

// The stored code read at start-up: 5 opens no window; any code other than 1 to 6 is standard.
WindowStyle styleFromCode(int code);

// CResizeDlg's text for a chosen style code 1 to 4 or 6; empty for any other code.
std::string_view styleMessage(int code);

// "standard", "cartoon", "mini", "detail", "none", "contrast".
std::string_view styleName(WindowStyle style);
// The style a name selects, case-insensitively; nothing for an unknown name.
std::optional<WindowStyle> styleFromName(std::string_view name);

}  // namespace quorvel
