// The upper limit of the n-th-distance picture and its repair.
#pragma once

#include <string>

#include "model/controls.h"

namespace vorla {

// The text that a repaired upper limit shows: 5 significant digits in fixed notation with
// exactly 6 digits after the decimal separator ("1.200000"); from 100000 on, where 5 digits
// no longer fill the integer part, the general text of the value itself.
std::string RepairedLimitText(long double b);

// An upper limit b not above the lower limit a becomes (a + 0.1) * 2, and EditLimit2 shows
// it. True when b was repaired.
bool LimitRangeRepair(Controls& controls, long double a, long double& b);

}  // namespace vorla
