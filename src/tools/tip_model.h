#pragma once

// The tip window without widgets. It opens on the stored tip position, browses the thirty tips
// in a ring, and on closing writes back the three fields it owns: tips at start, the next tip
// position and the tip-window-open record. The file itself is written by the calculator
// window's next store; the calculator's busy state is its own, ended by whoever opened this.

#include <string>
#include <string_view>

namespace quorvel {

class SysDataHolder;

class TipModel {
public:
    // Takes the stored position (a position outside 0..29 starts at the first tip) and the
    // tips-at-start setting as the check box's first state.
    explicit TipModel(SysDataHolder& holder);

    int index() const { return m_index; }
    std::string_view text() const;
    // "Tip 6 of 30": where the user is in the ring.
    std::string counter() const;
    bool showAtStart() const { return m_showAtStart; }
    void setShowAtStart(bool on) { m_showAtStart = on; }

    void next();      // 29 wraps to 0
    void previous();  // 0 wraps to 29

    // Stores the check box and the tip after the current one, and records the window closed.
    // Only the first call writes; a window closed twice stores once.
    void close();
    bool closed() const { return m_closed; }

private:
    SysDataHolder& m_holder;
    int m_index = 0;
    bool m_showAtStart = true;
    bool m_closed = false;
};

}  // namespace quorvel
