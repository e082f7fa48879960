#pragma once

#include <QValidator>

namespace quarnet::qt {

// Typing into the start address box: any character, letters turned into
// capitals, at most 8 characters.
class HexEntryValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
};

// Typing into the pixel boxes: decimal digits only, at most 5.
class PixelEntryValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
};

} // namespace quarnet::qt
