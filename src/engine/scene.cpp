#include "engine/scene.h"

#include "engine/edit_distance.h"

namespace {

constexpr int kMaxAcceptedEdits = 2;

void LowerCaseAscii(std::string& text) {
    for (char& byte : text) {
        if (byte >= 'A' && byte <= 'Z') byte = static_cast<char>(byte - 'A' + 'a');
    }
}

// Longer phrases score higher, every edit costs more than a matching byte earns.
int Score(int phraseLength, int distance) {
    return 2 * phraseLength - 3 * distance;
}

// The words after a phrase of `phraseLength` bytes: from the first space at or after one
// byte before the phrase's end, so that a word typed one byte short still ends there.
std::string ArgumentAfter(const std::string& line, std::size_t phraseLength) {
    if (phraseLength == 0 || phraseLength - 1 >= line.size()) return {};
    const std::size_t space = line.find(' ', phraseLength - 1);
    if (space == std::string::npos) return {};
    return line.substr(space);
}

}  // namespace

bool Scene::TryAction(std::string line) {
    LowerCaseAscii(line);
    if (actions.empty()) return false;

    int bestAction = -1;
    std::size_t bestPhrase = 0;
    int bestScore = 0;
    for (std::size_t actionIndex = 0; actionIndex < actions.size(); ++actionIndex) {
        const std::vector<std::string>& phrases = actions[actionIndex].phrases;
        for (std::size_t phraseIndex = 0; phraseIndex < phrases.size(); ++phraseIndex) {
            const std::string& phrase = phrases[phraseIndex];
            const int length = static_cast<int>(phrase.size());
            const int distance = EditDistance(phrase, line.substr(0, phrase.size()));
            const int score = Score(length, distance);
            if (score > bestScore) {
                bestAction = static_cast<int>(actionIndex);
                bestPhrase = phraseIndex;
                bestScore = score;
            }
        }
    }
    if (bestAction < 0) return false;

    const Action& accepted = actions[static_cast<std::size_t>(bestAction)];
    const std::size_t phraseLength = accepted.phrases[bestPhrase].size();
    const int distance = (2 * static_cast<int>(phraseLength) - bestScore) / 3;
    if (distance > kMaxAcceptedEdits) return false;

    accepted.handler(ArgumentAfter(line, phraseLength));
    return true;
}
