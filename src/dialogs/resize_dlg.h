#pragma once

// Tells the user that a newly chosen window style takes effect at the next start.

#include "ui/skinned_dialog.h"

class QLabel;

namespace quorvel {

class HoverButton;

class CResizeDlg : public SkinnedDialog {
    Q_OBJECT

public:
    // `styleCode` 1 to 4, as the style menu records it.
    explicit CResizeDlg(int styleCode, QWidget* parent = nullptr);

    QString message() const;
    QLabel* messageControl() const { return m_message; }
    HoverButton* okButton() const { return m_ok; }

private:
    QLabel* m_message;
    HoverButton* m_ok;
};

}  // namespace quorvel
