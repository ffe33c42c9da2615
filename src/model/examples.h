// The fourteen prepared configurations of the Examples menu.
#pragma once

#include <array>

#include "model/scene.h"

namespace vorla {

struct Example {
    const char* item;     // menu item name
    const char* caption;  // menu caption
    TaskType task;        // the task type it chooses
    // Texts of EditKd EditKr EditKm EditKn EditKs EditKu EditKv EditKw EditKa EditKb EditKc;
    // nullptr leaves the field as it is.
    std::array<const char*, 11> circles;
    const char* xFrom;
    const char* xTo;
    const char* yRel;
    const char* panel;  // text of status panel 5
};

extern const std::array<Example, 14> kExamples;

}  // namespace vorla
