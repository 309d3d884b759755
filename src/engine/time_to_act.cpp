#include "engine/time_to_act.h"

namespace {

struct Step {
    const char* name;
    float factor;
    const char* times;  // the factor in words
};

constexpr Step kSteps[kTimeToActCount] = {
    {"normal", 1.0f, "as written"},
    {"longer", 3.0f, "three times as long"},
    {"longest", 10.0f, "ten times as long"},
};

const Step& StepOf(TimeToAct step) {
    return kSteps[static_cast<int>(step)];
}

}  // namespace

const char* const kTimeToActNames = "normal, longer or longest";

const char* TimeToActName(TimeToAct step) {
    return StepOf(step).name;
}

float TimeToActFactor(TimeToAct step) {
    return StepOf(step).factor;
}

std::optional<TimeToAct> ParseTimeToAct(const std::string& name) {
    for (int i = 0; i < kTimeToActCount; ++i) {
        if (name == kSteps[i].name) return static_cast<TimeToAct>(i);
    }
    return std::nullopt;
}

TimeToAct NextTimeToAct(TimeToAct step) {
    return static_cast<TimeToAct>((static_cast<int>(step) + 1) % kTimeToActCount);
}

std::string TimeToActSentence(TimeToAct step) {
    return std::string("Time to act: ") + StepOf(step).name + ", " + StepOf(step).times + ".";
}
