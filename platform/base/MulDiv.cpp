#include "platform/base/WinTypes.h"

int MulDiv(int number, int numerator, int denominator)
{
    if (denominator == 0)
        return -1;
    const long long product = static_cast<long long>(number) * numerator;
    long long q = product / denominator;
    const long long r = product % denominator;
    // Round half away from zero.
    if (2 * (r < 0 ? -r : r) >=
        (denominator < 0 ? -static_cast<long long>(denominator) : denominator))
        q += ((product < 0) != (denominator < 0)) ? -1 : 1;
    if (q > 0x7FFFFFFF || q < -0x7FFFFFFFLL - 1)
        return -1;
    return static_cast<int>(q);
}
