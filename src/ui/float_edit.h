#pragma once

// A number-only box: digits, one point and a minus only as the first character. Whatever
// would break that (a key, a paste, a drop) is refused as a whole.

#include <QLineEdit>

namespace quorvel {

class CFloatEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit CFloatEdit(QWidget* parent = nullptr);
};

}  // namespace quorvel
