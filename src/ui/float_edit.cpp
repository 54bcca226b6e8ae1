#include "ui/float_edit.h"

#include <QValidator>

#include "tools/number_keys.h"

namespace quorvel {
namespace {

class FloatValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override {
        // Non-ASCII text cannot be a number; toLatin1 would turn it into '?', also refused.
        return IsFloatEntry(input.toLatin1().toStdString()) ? Acceptable : Invalid;
    }
};

}  // namespace

CFloatEdit::CFloatEdit(QWidget* parent) : QLineEdit(parent) {
    setValidator(new FloatValidator(this));
}

}  // namespace quorvel
