#pragma once

// The converter's value box: digits, points and Backspace only. A digit asks for the result
// at once; a point or Backspace waits for the next digit or unit click, so a half-typed "2."
// never shows as a result.

#include <QLineEdit>

namespace quorvel {

class CConvFloatEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit CConvFloatEdit(QWidget* parent = nullptr);

signals:
    // After the box took `ch` (kBackspace for Backspace and Delete).
    void valueKey(char ch);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace quorvel
