#pragma once

#include <optional>
#include <string>

// How long the story waits, once it has warned the player, before the threat falls. The warning
// itself comes when the story says; only what follows it is stretched, so a player who hears or
// reads slowly, types slowly or types through a switch still has time to answer it.
enum class TimeToAct { kNormal, kLonger, kLongest };

inline constexpr int kTimeToActCount = 3;

// The step's name on command lines, in settings and in the page: "normal", "longer", "longest".
const char* TimeToActName(TimeToAct step);
// How many times the written time the step gives: 1, 3, 10.
float TimeToActFactor(TimeToAct step);
// The step a name names; nothing for any other text.
std::optional<TimeToAct> ParseTimeToAct(const std::string& name);
// The next step, the longest going back to normal: one key walks through them all.
TimeToAct NextTimeToAct(TimeToAct step);
// One sentence for the player, shown and said when the step changes.
std::string TimeToActSentence(TimeToAct step);

// The three names, for messages: "normal, longer or longest".
extern const char* const kTimeToActNames;
