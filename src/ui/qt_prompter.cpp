#include "ui/qt_prompter.h"

#include <QMessageBox>

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
                                                           std::string_view expression) const {
    auto dialog = std::make_unique<CInputMsgDlg>(m_parent.data());
    dialog->setTexts(toQt(message), toQt(advice), toQt(expression));
    return dialog;
}

void QtPrompter::showMessage(std::string_view text, std::string_view title, MessageIcon icon) {
    makeMessageBox(text, title, icon)->exec();
}

bool QtPrompter::askOkCancel(std::string_view text, std::string_view title) {
    return makeQuestion(text, title)->exec() == QMessageBox::Ok;
}

void QtPrompter::showInputMessage(std::string_view message, std::string_view advice,
                                  std::string_view expression) {
    makeInputMessage(message, advice, expression)->exec();
}

}  // namespace quorvel
