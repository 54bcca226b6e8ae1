#pragma once

// The converter's companion dialog: a category, a description and a value, for a new
// conversion record or an edited one. OK stays off until both texts are there and the value
// is a number.

#include "tools/converter_model.h"
#include "ui/skinned_dialog.h"

class QComboBox;
class QLineEdit;

namespace quorvel {

class CFloatEdit;
class HoverButton;

class CNewConvDlg : public SkinnedDialog {
    Q_OBJECT

public:
    static constexpr int kWidth = 570;
    static constexpr int kHeight = 200;

    // `initial.category` is a mode name; a mode with no entry leaves the first entry chosen.
    CNewConvDlg(const ConversionFields& initial, bool editing, QWidget* parent = nullptr);

    // The texts as they stand; the category as a mode name.
    ConversionFields fields() const;

    QComboBox* categoryBox() const { return m_category; }
    QLineEdit* descriptionBox() const { return m_description; }
    CFloatEdit* valueBox() const { return m_value; }
    HoverButton* okButton() const { return m_ok; }
    HoverButton* cancelButton() const { return m_cancel; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void updateOk();

    QComboBox* m_category;
    QLineEdit* m_description;
    CFloatEdit* m_value;
    HoverButton* m_ok;
    HoverButton* m_cancel;
};

}  // namespace quorvel
