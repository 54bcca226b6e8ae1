#pragma once

// The parameter dialog: F, K, M, W and the Pi text in number-only boxes. Opening it reads the
// data file again; OK refuses a box without a number, otherwise writes the five texts back and
// stores the file. The caller empties a shown result after OK.

#include <array>

#include "tools/parameter_form.h"
#include "ui/hover_button.h"
#include "ui/skinned_dialog.h"

namespace quorvel {

class CFloatEdit;
class Prompter;
class SysDataHolder;

class CVariDlg : public SkinnedDialog {
    Q_OBJECT

public:
    CVariDlg(SysDataHolder& holder, Prompter& prompter, QWidget* parent = nullptr);

    // In the order F, K, M, W, Pi.
    CFloatEdit* box(int index) const { return m_boxes[static_cast<std::size_t>(index)]; }
    HoverButton* okButton() const { return m_ok; }
    HoverButton* cancelButton() const { return m_cancel; }
    HoverButton* helpButton() const { return m_help; }

    void accept() override;

private:
    ParameterForm m_form;
    Prompter& m_prompter;
    std::array<CFloatEdit*, 5> m_boxes{};
    HoverButton* m_ok = nullptr;
    HoverButton* m_cancel = nullptr;
    HoverButton* m_help = nullptr;
};

}  // namespace quorvel
