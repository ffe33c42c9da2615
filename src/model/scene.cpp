#include "model/scene.h"

#include "model/controls.h"
#include "plane/number_text.h"

namespace vorla {
namespace {
long double* Slot(CircleSet& k, int i) {
    long double* slots[11] = {&k.D, &k.R, &k.M, &k.N, &k.S, &k.U, &k.V, &k.W, &k.A, &k.B, &k.C};
    return slots[i];
}
}  // namespace

void ReadCircleTexts(CircleSet& k, const std::array<std::string, 11>& texts) {
    for (int i = 0; i < 11; ++i) {
        const ControlSpec& field = Spec(CircleField(i));
        *Slot(k, i) = TextToNumberDef(texts[i], field.check, field.fallback);
    }
    k.UpdateSquares();
}

std::string SceneText(TaskType taskType, const std::array<std::string, 11>& texts) {
    std::string out = std::to_string(TaskNumber(taskType)) + "=";
    for (const auto& t : texts) out += t + "=";
    return out;
}

bool StoreCircleByTag(CircleSet& k, int tag, long double value) {
    if (tag < 101 || tag > 111) return false;
    *Slot(k, tag - 101) = value;
    k.UpdateSquares();
    return true;
}

}  // namespace vorla
