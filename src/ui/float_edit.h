#pragma once

// Number-only boxes. CFloatEdit holds digits, one decimal point and a minus sign only as the
// first character; CDigitsEdit holds digits only. Typed keys and pasted text alike are checked
// against the whole text the box would hold (tools/number_keys.h).

#include <QLineEdit>

namespace quorvel {

class CFloatEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit CFloatEdit(QWidget* parent = nullptr);
};

class CDigitsEdit : public QLineEdit {
    Q_OBJECT

public:
    CDigitsEdit(int maxDigits, QWidget* parent = nullptr);
    // 0 when empty.
    int value() const;
};

}  // namespace quorvel
