#pragma once

// The settings dialog: the settings form's controls. It edits a copy of the form's values; OK
// hands the copy to the owner, which checks and applies it and may refuse (the dialog then
// stays open), Cancel changes nothing. The number boxes' bounds and the combo boxes' lists are
// the form's.

#include <functional>

#include "tools/settings_form.h"
#include "ui/skinned_dialog.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QSpinBox;

namespace quorvel {

class HoverButton;

class CSetDlg : public SkinnedDialog {
    Q_OBJECT

public:
    // False from `apply` means the values were refused and the user was told why.
    using Apply = std::function<bool(const SettingsValues&)>;

    CSetDlg(const SettingsValues& values, Apply apply, QWidget* parent = nullptr);

    // What the controls hold now.
    SettingsValues values() const;

    // Control ids: check boxes 1004 to 1009, the angle unit's two choices 1031 (radians) and
    // 1032 (degrees), exercise limits 1053 and 1036 (combo boxes) and 1054 (a spin box),
    // decimal places 1056 and digits limit 1057 (spin boxes), the zoom 1058 (a spin box) and
    // the high-contrast style 1011 (a check box); buttons 1 (OK), 2 (Cancel) and 3 (Help).
    QWidget* control(int id) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void okPressed();

    Apply m_apply;
    QCheckBox* m_talkResult;
    QCheckBox* m_talkInput;
    QCheckBox* m_talkKeys;
    QCheckBox* m_welcome;
    QCheckBox* m_keysWithReader;
    bool m_screenReaderRunning = false;
    QAbstractButton* m_radians;
    QAbstractButton* m_degrees;
    QCheckBox* m_minimizeToTray;
    QCheckBox* m_historyFactor;
    QComboBox* m_exerciseLimit1;
    QComboBox* m_exerciseLimit2;
    QSpinBox* m_exerciseLimit3;
    QSpinBox* m_places;
    QSpinBox* m_digitsLimit;
    QCheckBox* m_precise;
    QSpinBox* m_zoom;
    QCheckBox* m_contrastStyle;
    HoverButton* m_ok;
};

}  // namespace quorvel
