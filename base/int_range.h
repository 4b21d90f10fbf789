// Geometry computed from configuration values: any int a publisher writes must give a defined
// result. Sums, differences and halvings are taken in 64 bits and brought back into the int
// range, saturating, so a rectangle pushed beyond it stays at its edge.
#pragma once

#include <climits>

using WideInt = long long;

inline int SaturatedInt(WideInt value) {
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}
