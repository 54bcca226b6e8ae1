#pragma once

// The function palette (CFuncDlg) and the argument dialog (CFuncInputDlg). The palette only
// names the chosen function; runFunctionCommand is what the main window's function command
// does with it: "10^" and "^2" go straight in, any other name is asked for its argument and
// inserted as name(argument) at the caret remembered when the palette opened.

#include <QButtonGroup>
#include <memory>

#include "tools/function_palette.h"
#include "ui/hover_button.h"
#include "ui/skinned_dialog.h"

class QLabel;
class QRadioButton;

namespace quorvel {

class CFilterEdit;
class CFloatEdit;
class Prompter;
class SysDataHolder;

class CFuncDlg : public SkinnedDialog {
    Q_OBJECT

public:
    explicit CFuncDlg(QWidget* parent = nullptr);

    // The button of a palette name ("sin", "^2"), the Close or the Help button.
    HoverButton* button(const QString& name) const;
    HoverButton* closeButton() const { return m_close; }
    HoverButton* helpButton() const { return m_help; }

signals:
    // Sent before the palette closes with OK.
    void functionChosen(const QString& name);

private:
    std::vector<std::pair<QString, HoverButton*>> m_buttons;
    HoverButton* m_close = nullptr;
    HoverButton* m_help = nullptr;
};

class CFuncInputDlg : public SkinnedDialog {
    Q_OBJECT

public:
    CFuncInputDlg(const QString& name, SysDataHolder& holder, Prompter& prompter,
                  QWidget* parent = nullptr);

    // What the main window inserts after OK: "sin(30)".
    QString call() const;

    QLabel* label() const { return m_label; }
    CFloatEdit* argumentBox() const { return m_argument; }
    QRadioButton* radiansButton() const { return m_radians; }
    QRadioButton* degreesButton() const { return m_degrees; }
    HoverButton* okButton() const { return m_ok; }
    HoverButton* cancelButton() const { return m_cancel; }

    void accept() override;

private:
    FunctionArgument m_model;
    Prompter& m_prompter;
    QLabel* m_label = nullptr;
    CFloatEdit* m_argument = nullptr;
    QRadioButton* m_radians = nullptr;
    QRadioButton* m_degrees = nullptr;
    HoverButton* m_ok = nullptr;
    HoverButton* m_cancel = nullptr;
};

// The main window's function command on its input box: palette, argument dialog, insertion.
// Returns what was inserted, empty when the user cancelled.
QString runFunctionCommand(CFilterEdit& box, SysDataHolder& holder, Prompter& prompter,
                           QWidget* parent);

}  // namespace quorvel
