#include "dialogs/vari_dlg.h"

#include <QLabel>

#include "dialogs/dialog_button.h"
#include "ui/float_edit.h"
#include "ui/help_window.h"

namespace quorvel {
namespace {

// No tooltip: it would only repeat the caption, which is also the name a reader says.
HoverButton* makeButton(const QString& caption, QWidget* parent, int x) {
    return makeDialogButton(parent, caption, QString(), QRect(x, 193, 65, 25));
}

}  // namespace

CVariDlg::CVariDlg(SysDataHolder& holder, Prompter& prompter, QWidget* parent)
    : SkinnedDialog(QString::fromLatin1(skins::kSkinParameters), parent),
      m_form(holder),
      m_prompter(prompter) {
    setToolTitle(QStringLiteral("Parameters"));
    const ParameterTexts texts = m_form.open(prompter);
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        const QString name = QString::fromLatin1(
            kParameterBoxNames[i].data(), static_cast<qsizetype>(kParameterBoxNames[i].size()));
        const int y = 52 + static_cast<int>(i) * 27;
        auto* label = new QLabel(name + QStringLiteral(" ="), this);
        label->setGeometry(30, y, 50, 22);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* box = new CFloatEdit(this);
        box->setGeometry(90, y, 190, 22);
        box->setText(QString::fromStdString(texts[i]));
        box->setCursorPosition(0);  // a long Pi text shows its start
        box->setAccessibleName(QStringLiteral("Parameter ") + name);
        label->setBuddy(box);
        m_boxes[i] = box;
        if (i > 0) setTabOrder(m_boxes[i - 1], box);
    }
    auto* ok = makeButton(QStringLiteral("OK"), this, 55);
    auto* cancel = makeButton(QStringLiteral("Cancel"), this, 130);
    auto* help = makeButton(QStringLiteral("Help"), this, 205);
    connect(ok, &QAbstractButton::clicked, this, &CVariDlg::accept);
    connect(cancel, &QAbstractButton::clicked, this, &QDialog::reject);
    connect(help, &QAbstractButton::clicked, this,
            [this] { openHelp(this, QStringLiteral("parameters.html")); });
    for (CFloatEdit* box : m_boxes)
        connect(box, &QLineEdit::returnPressed, this, &CVariDlg::accept);
    setTabOrder(m_boxes.back(), ok);
    setTabOrder(ok, cancel);
    setTabOrder(cancel, help);
    m_ok = ok;
    m_cancel = cancel;
    m_help = help;
    m_boxes.front()->setFocus();
    setClientSize(310, 240);
}

void CVariDlg::accept() {
    ParameterTexts texts;
    for (std::size_t i = 0; i < m_boxes.size(); ++i) texts[i] = m_boxes[i]->text().toStdString();
    if (!m_form.accept(texts, m_prompter)) {
        const int bad = FirstNonNumberBox(texts);
        if (bad >= 0) box(bad)->setFocus();
        return;
    }
    QDialog::accept();
}

}  // namespace quorvel
