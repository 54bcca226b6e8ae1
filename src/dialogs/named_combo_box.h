#pragma once

// A combo box that a screen reader names by its accessible name, with its text as the value.
// Qt's own accessible combo box on Linux gives its current text as the name and leaves the
// label to a relation, so a reader that goes by the name hears only "10".

#include <QComboBox>

namespace quorvel {

class NamedComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit NamedComboBox(QWidget* parent = nullptr);
};

}  // namespace quorvel
