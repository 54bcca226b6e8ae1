#include "ui/float_edit.h"

#include <QValidator>
#include <functional>

#include "tools/number_keys.h"

namespace quorvel {
namespace {

class RuleValidator : public QValidator {
public:
    RuleValidator(std::function<bool(std::string_view)> rule, QObject* parent)
        : QValidator(parent), m_rule(std::move(rule)) {}

    State validate(QString& input, int&) const override {
        const QByteArray text = input.toLatin1();
        // Anything beyond Latin-1 turns into '?', which no rule accepts.
        return m_rule(std::string_view(text.constData(), static_cast<std::size_t>(text.size())))
                   ? Acceptable
                   : Invalid;
    }

private:
    std::function<bool(std::string_view)> m_rule;
};

}  // namespace

CFloatEdit::CFloatEdit(QWidget* parent) : QLineEdit(parent) {
    setValidator(new RuleValidator(IsFloatEntry, this));
}

CDigitsEdit::CDigitsEdit(int maxDigits, QWidget* parent) : QLineEdit(parent) {
    setValidator(new RuleValidator(
        [maxDigits](std::string_view text) { return IsDigitsText(text, maxDigits); }, this));
}

int CDigitsEdit::value() const { return DigitsValue(text().toStdString()); }

}  // namespace quorvel
