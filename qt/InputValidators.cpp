#include "InputValidators.h"

namespace quarnet::qt {

QValidator::State HexEntryValidator::validate(QString& input, int&) const
{
    input = input.toUpper();
    return input.size() <= 8 ? Acceptable : Invalid;
}

QValidator::State PixelEntryValidator::validate(QString& input, int&) const
{
    if (input.size() > 5)
        return Invalid;
    for (const QChar c : input) {
        if (c < u'0' || c > u'9')
            return Invalid;
    }
    return Acceptable;
}

} // namespace quarnet::qt
