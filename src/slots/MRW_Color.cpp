#include "slots/MRW_Color.h"

namespace ovex {

SplitResult Color_SplitBase256(qint32 value, std::uint8_t count, DigitArray& digits, bool resize)
{
    if (resize)
        digits.assign(count, 0);
    qint64 rest = value;
    for (int i = count; i >= 1; --i) {
        if (static_cast<std::size_t>(i) > digits.size())
            return SplitResult::OutOfRange;
        // From index 5 on the weight (256^4 and up) exceeds every 32-bit
        // value, so the digit is 0; shifting by 64 or more would be undefined.
        if (i > 4) {
            digits[i - 1] = 0;
            continue;
        }
        const qint64 weight = qint64(1) << (8 * (i - 1));
        const qint64 digit = rest / weight;
        if (digit < 0 || digit > 255)
            return SplitResult::Overflow;
        digits[i - 1] = static_cast<std::uint8_t>(digit);
        rest -= digit * weight;
    }
    return SplitResult::Done;
}

QString Color_ToText(ColorValue value)
{
    if (value < 0)
        return {};
    DigitArray digits(3, 0);
    // Fails only above 0xFFFFFF, before any digit is written: 0,0,0.
    Color_SplitBase256(value, 3, digits, false);
    return QString::number(digits[0]) + u',' + QString::number(digits[1]) + u','
         + QString::number(digits[2]);
}

} // namespace ovex
