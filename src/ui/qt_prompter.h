#pragma once

// The windows' channel for the engine's messages: message boxes with the engine's title and
// icon, OK/Cancel questions, and the input message dialog.

#include <QPointer>
#include <memory>

#include "tools/prompter.h"

class QMessageBox;
class QWidget;

namespace quorvel {

class CInputMsgDlg;

class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr);

    void showMessage(std::string_view text, std::string_view title, MessageIcon icon) override;
    bool askOkCancel(std::string_view text, std::string_view title) override;
    void showInputMessage(std::string_view message, std::string_view advice,
                          std::string_view expression, int position) override;

    // The boxes the three calls run, built apart so that they can be looked at unopened. The
    // caller owns a box and must drop it before the parent goes; the three calls above hand
    // theirs to the parent while open, since the parent may be destroyed during exec().
    std::unique_ptr<QMessageBox> makeMessageBox(std::string_view text, std::string_view title,
                                                MessageIcon icon) const;
    std::unique_ptr<QMessageBox> makeQuestion(std::string_view text, std::string_view title) const;
    std::unique_ptr<CInputMsgDlg> makeInputMessage(std::string_view message,
                                                   std::string_view advice,
                                                   std::string_view expression,
                                                   int position = -1) const;

private:
    QPointer<QWidget> m_parent;
};

}  // namespace quorvel
