#include "ui/qt_prompter.h"

#include <QMessageBox>
#include <QPointer>

#include "ui/input_msg_dlg.h"

namespace quorvel {
namespace {

QString toQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QMessageBox::Icon toQt(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Question:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

QtPrompter::QtPrompter(QWidget* parent) : m_parent(parent) {}

std::unique_ptr<QMessageBox> QtPrompter::makeMessageBox(std::string_view text,
                                                        std::string_view title,
                                                        MessageIcon icon) const {
    auto box = std::make_unique<QMessageBox>(toQt(icon), toQt(title), toQt(text), QMessageBox::Ok,
                                             m_parent.data());
    box->setDefaultButton(QMessageBox::Ok);
    return box;
}

std::unique_ptr<QMessageBox> QtPrompter::makeQuestion(std::string_view text,
                                                      std::string_view title) const {
    auto box =
        std::make_unique<QMessageBox>(QMessageBox::Question, toQt(title), toQt(text),
                                      QMessageBox::Ok | QMessageBox::Cancel, m_parent.data());
    box->setDefaultButton(QMessageBox::Ok);
    box->setEscapeButton(QMessageBox::Cancel);
    return box;
}

std::unique_ptr<CInputMsgDlg> QtPrompter::makeInputMessage(std::string_view message,
                                                           std::string_view advice,
                                                           std::string_view expression,
                                                           int position) const {
    auto dialog = std::make_unique<CInputMsgDlg>(m_parent.data());
    dialog->setTexts(toQt(message), toQt(advice), toQt(expression), position);
    return dialog;
}

namespace {

// One owner at a time: while the box is open its parent owns it, and a parent destroyed
// during exec() takes the box along, which the QPointer sees (exec() then returns Rejected).
int execOnce(std::unique_ptr<QDialog> owned) {
    const QPointer<QDialog> box = owned.get();
    if (box->parent()) owned.release();  // without a parent only the unique_ptr can delete it
    const int code = box->exec();
    if (!box) return QDialog::Rejected;
    if (!owned) delete box.data();
    return code;
}

}  // namespace

void QtPrompter::showMessage(std::string_view text, std::string_view title, MessageIcon icon) {
    execOnce(makeMessageBox(text, title, icon));
}

bool QtPrompter::askOkCancel(std::string_view text, std::string_view title) {
    return execOnce(makeQuestion(text, title)) == QMessageBox::Ok;
}

void QtPrompter::showInputMessage(std::string_view message, std::string_view advice,
                                  std::string_view expression, int position) {
    execOnce(makeInputMessage(message, advice, expression, position));
}

}  // namespace quorvel
