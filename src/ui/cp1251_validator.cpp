// The value field's check: a text passes only when the settings text can hold it.
#include "ui/cp1251_validator.hpp"

#include <string>

namespace ravlet {

std::u32string Ucs4(const QString& text) {
    // toUcs4 keeps a lone surrogate as it is, and the code page has no byte for it.
    const QList<uint> chars = text.toUcs4();
    return std::u32string(chars.begin(), chars.end());
}

QValidator::State Cp1251Validator::validate(QString& input, int& /*pos*/) const {
    lastRefused_ = FirstRefused(Ucs4(input));
    return lastRefused_ ? Invalid : Acceptable;
}

}  // namespace ravlet
