// The check on what the user may type into the value field.
#pragma once

#include <QValidator>
#include <optional>
#include <string>

#include "textengine/value_rule.hpp"

namespace ravlet {

// The text's characters as the editor's rules take them.
std::u32string Ucs4(const QString& text);

// Accepts a text only when the value rule takes every character (FirstRefused):
// nothing is replaced by '?' behind the user's back, and no ';' starts a comment.
// An empty text is acceptable.
class Cp1251Validator : public QValidator {
    Q_OBJECT

public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;

    // What the last text refused held first; nullopt when the last text was taken.
    const std::optional<RefusedCharacter>& LastRefused() const { return lastRefused_; }

private:
    mutable std::optional<RefusedCharacter> lastRefused_;
};

}  // namespace ravlet
