#include "ui/cp1251_validator.hpp"

#include "textengine/codepage.hpp"

namespace ravlet {

QValidator::State Cp1251Validator::validate(QString& input, int& /*pos*/) const {
    // toUcs4 keeps a lone surrogate as it is, and the code page has no byte for it.
    for (const char32_t ch : input.toUcs4()) {
        if (QChar::category(ch) == QChar::Other_Control) return Invalid;
        if (!UnicodeToCp1251(ch)) return Invalid;
    }
    return Acceptable;
}

}  // namespace ravlet
