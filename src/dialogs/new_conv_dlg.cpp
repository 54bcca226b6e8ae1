#include "dialogs/new_conv_dlg.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "calc/text_util.h"
#include "dialogs/named_combo_box.h"
#include "tools/number_keys.h"
#include "ui/float_edit.h"
#include "ui/hover_button.h"

namespace quorvel {
namespace {

constexpr int kLabelX = 40;
constexpr int kBoxX = 150;
constexpr int kBoxWidth = 380;

QLabel* label(const QString& text, int y, QWidget* buddy, QWidget* parent) {
    auto* caption = new QLabel(text, parent);
    caption->setGeometry(kLabelX, y, kBoxX - kLabelX - 8, 24);
    caption->setBuddy(buddy);
    return caption;
}

}  // namespace

CNewConvDlg::CNewConvDlg(const ConversionFields& initial, bool editing, QWidget* parent)
    : SkinnedDialog(QString::fromLatin1(skins::kSkinFormula), parent) {
    setToolTitle(editing ? tr("Edit conversion") : tr("New conversion"));
    setFixedSize(kWidth, kHeight);

    m_category = new NamedComboBox(this);
    for (const ConverterMode& mode : ConverterModes()) {
        m_category->addItem(
            QString::fromLatin1(mode.caption.data(), static_cast<qsizetype>(mode.caption.size())));
    }
    m_category->setGeometry(kBoxX, 48, 180, 24);
    m_category->setAccessibleName(tr("Category"));
    label(tr("&Category:"), 48, m_category, this);

    m_description = new QLineEdit(this);
    m_description->setGeometry(kBoxX, 80, kBoxWidth, 24);
    m_description->setAccessibleName(tr("Description"));
    label(tr("&Description:"), 80, m_description, this);

    m_value = new CFloatEdit(this);
    m_value->setGeometry(kBoxX, 112, 180, 24);
    m_value->setAccessibleName(tr("Value"));
    label(tr("&Value:"), 112, m_value, this);

    m_ok = new HoverButton(tr("OK"), this);
    m_cancel = new HoverButton(tr("Cancel"), this);
    for (HoverButton* button : {m_ok, m_cancel}) {
        button->setPictures(skins::kButton);
        button->setAccessibleName(button->text());
    }
    // Centred under the boxes on this skin.
    m_ok->setGeometry(205, 152, 65, 25);
    m_cancel->setGeometry(300, 152, 65, 25);
    connect(m_ok, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QAbstractButton::clicked, this, &QDialog::reject);

    if (const std::optional<std::size_t> index = ConverterModeIndex(initial.category)) {
        m_category->setCurrentIndex(static_cast<int>(*index));
    }
    m_description->setText(QString::fromStdString(initial.description));
    m_value->setText(QString::fromStdString(initial.value));
    connect(m_description, &QLineEdit::textChanged, this, &CNewConvDlg::updateOk);
    connect(m_value, &QLineEdit::textChanged, this, &CNewConvDlg::updateOk);
    updateOk();
    // Enter in a box confirms, as the OK button would.
    for (QLineEdit* box : {m_description, static_cast<QLineEdit*>(m_value)}) {
        connect(box, &QLineEdit::returnPressed, this, [this] {
            if (m_ok->isEnabled()) m_ok->click();
        });
    }

    setTabOrder(m_category, m_description);
    setTabOrder(m_description, m_value);
    setTabOrder(m_value, m_ok);
    setTabOrder(m_ok, m_cancel);
    m_description->setFocus();
}

ConversionFields CNewConvDlg::fields() const {
    const int index = m_category->currentIndex();
    const auto modes = ConverterModes();
    std::string category;
    if (index >= 0 && static_cast<std::size_t>(index) < modes.size()) {
        category = modes[static_cast<std::size_t>(index)].mode;
    }
    return {category, m_description->text().toStdString(), m_value->text().toStdString()};
}

void CNewConvDlg::updateOk() {
    const bool complete = !Trim(m_description->text().toStdString()).empty() &&
                          IsFloatNumber(m_value->text().toStdString());
    m_ok->setEnabled(complete);
}

void CNewConvDlg::showEvent(QShowEvent* event) {
    centreOnScreen();
    SkinnedDialog::showEvent(event);
}

}  // namespace quorvel
