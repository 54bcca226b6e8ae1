#include "ui/input_msg_dlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "ui/hover_button.h"

namespace quorvel {
namespace {

constexpr int kLeft = 24;
constexpr int kBoxWidth = CInputMsgDlg::kWidth - 2 * kLeft;

QLabel* caption(const QString& text, int y, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(kLeft, y, kBoxWidth, 16);
    return label;
}

QPlainTextEdit* textBox(int y, int height, QWidget* parent) {
    auto* box = new QPlainTextEdit(parent);
    box->setReadOnly(true);
    box->setGeometry(kLeft, y, kBoxWidth, height);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    return box;
}

}  // namespace

CInputMsgDlg::CInputMsgDlg(QWidget* parent)
    : SkinnedDialog(QString::fromLatin1(skins::kSkinInputMessage), parent) {
    setStaticBackground(QColor::fromRgb(skins::kMessageBackground));
    setWindowTitle(QStringLiteral("Quorvel"));
    setFixedSize(kWidth, kHeight);

    caption(tr("What is wrong"), 43, this);
    m_message = textBox(60, 39, this);
    caption(tr("What to do"), 104, this);
    m_advice = textBox(121, 62, this);
    caption(tr("Expression"), 188, this);
    m_expression = new QLineEdit(this);
    m_expression->setReadOnly(true);
    m_expression->setGeometry(kLeft, 205, kBoxWidth, 28);

    m_close = new HoverButton(tr("Close"), this);
    m_close->setPictures(skins::kButton);
    m_close->setGeometry(238, 244, 65, 25);
    connect(m_close, &QAbstractButton::clicked, this, &QDialog::accept);
}

void CInputMsgDlg::setTexts(const QString& message, const QString& advice,
                            const QString& expression, int position) {
    m_message->setPlainText(message);
    m_advice->setPlainText(advice);
    m_expression->setText(expression);
    m_expression->setCursorPosition(0);
    if (position >= 1 && position <= expression.size()) m_expression->setSelection(position - 1, 1);
}

void CInputMsgDlg::showEvent(QShowEvent* event) {
    centreOnScreen();
    SkinnedDialog::showEvent(event);
}

}  // namespace quorvel
