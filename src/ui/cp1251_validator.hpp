// The check on what the user may type into the value field.
#pragma once

#include <QValidator>

namespace ravlet {

// Accepts a text only when every character has a Windows-1251 byte and none is a
// control character: the settings text cannot hold anything else, and nothing is
// replaced by '?' behind the user's back. An empty text is acceptable.
class Cp1251Validator : public QValidator {
    Q_OBJECT

public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

}  // namespace ravlet
