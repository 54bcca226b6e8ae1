#pragma once

// The tip of the day: a modeless skinned window over the calculator, showing one tip at a time
// with Previous, Next and Close and the show-at-start check box. However it closes (Close,
// Escape, the window manager), it leaves its fields in the data once, then emits tipsClosed(),
// on which the calculator stops being busy.

#include "tools/tip_model.h"
#include "ui/skinned_dialog.h"

class QCheckBox;
class QLabel;

namespace quorvel {

class HoverButton;
class SysDataHolder;

class CTipDlg : public SkinnedDialog {
    Q_OBJECT

public:
    explicit CTipDlg(SysDataHolder& holder, QWidget* parent = nullptr);

    const TipModel& model() const { return m_model; }
    QLabel* tipLabel() const { return m_text; }
    QLabel* counterLabel() const { return m_counter; }
    QCheckBox* showAtStartBox() const { return m_showAtStart; }
    HoverButton* previousButton() const { return m_previous; }
    HoverButton* nextButton() const { return m_next; }
    HoverButton* closeButton() const { return m_close; }

    void done(int result) override;

signals:
    void tipsClosed();

private:
    void showTip();

    TipModel m_model;
    QLabel* m_counter = nullptr;
    QLabel* m_text = nullptr;
    QCheckBox* m_showAtStart = nullptr;
    HoverButton* m_previous = nullptr;
    HoverButton* m_next = nullptr;
    HoverButton* m_close = nullptr;
};

}  // namespace quorvel
