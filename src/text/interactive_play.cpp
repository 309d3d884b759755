#include "text/interactive_play.h"

#include <cerrno>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

#include "session/play_session.h"
#include "text/input_wait.h"
#include "text/play_signals.h"
#include "text/raw_terminal_input.h"
#include "text/stream_input.h"
#include "text/terminal.h"
#include "text/terminal_output.h"

namespace {

using Clock = std::chrono::steady_clock;

int WrapWidth(bool outputIsTerminal) {
    const int columns = outputIsTerminal ? TerminalColumns(STDOUT_FILENO) : 0;
    return columns > 0 ? columns : kDefaultWrapWidth;
}

// Only with a terminal on both standard streams, unless the player asked for the terminal's own
// editing or the terminal says it is dumb. `term` may be null.
bool WantLineEditor(bool plain, bool inputIsTerminal, bool outputIsTerminal, const char* term) {
    if (plain || !inputIsTerminal || !outputIsTerminal) return false;
    return term == nullptr || std::strcmp(term, "dumb") != 0;
}

// Said after the welcome at a terminal, where a screen reader reads the start too, so that a
// player who cannot see learns the choice exists.
std::string TimeToActHint(TimeToAct step) {
    return TimeToActSentence(step) +
           " Start with --time-to-act longer or longest for three or ten times as long.";
}

}  // namespace

int PlayInteractive(double pace, TimeToAct timeToAct, bool plain, Display* transcript) {
    InstallStopHandlers();
    const bool outputIsTerminal = IsTerminal(STDOUT_FILENO);
    const bool inputIsTerminal = IsTerminal(STDIN_FILENO);
    const char* term = std::getenv("TERM");
    // Character widths, for the edited line's columns, are the player's locale's.
    std::setlocale(LC_CTYPE, "");
    const ColourDepth colour =
        WantColour(outputIsTerminal, std::getenv("NO_COLOR"), term)
            ? ChooseColourDepth(std::getenv("COLORTERM"), TerminfoColours(STDOUT_FILENO))
            : ColourDepth::None;

    // The program edits the line itself where it can; else the terminal or the pipe has it.
    std::unique_ptr<RawTerminalInput> editor;
    if (WantLineEditor(plain, inputIsTerminal, outputIsTerminal, term)) {
        editor = std::make_unique<RawTerminalInput>(colour);
        if (!editor->Start()) editor.reset();
    }
    StreamInput stream(outputIsTerminal && inputIsTerminal);
    TypedInput& input = editor ? static_cast<TypedInput&>(*editor) : stream;

    TerminalOutput terminal(stdout, colour, input.EchoesTyping());
    std::vector<Display*> displays;
    if (editor) displays.push_back(&editor->eraser());
    displays.push_back(&terminal);
    if (transcript != nullptr) displays.push_back(transcript);
    DisplayList shown(std::move(displays));

    PlaySession session(shown, WrapWidth(outputIsTerminal));
    session.SetTimeToAct(timeToAct);
    // A pipe has no listener; a terminal may have a screen reader, whichever edits the line.
    if (inputIsTerminal && outputIsTerminal) session.Note(TimeToActHint(timeToAct));
    // Readings of the steady clock in seconds since the game began.
    const Clock::time_point start = Clock::now();
    const auto reading = [start](Clock::time_point at) {
        return std::chrono::duration<double>(at - start).count();
    };
    session.StartClock(0.0, pace);
    input.FrameShown();
    bool inputOpen = true;
    // Asleep until a key, a signal, the game's next timed step or the end of an unfinished key
    // sequence: no steady tick.
    while (!StopRequested() && terminal.error() == 0) {
        const Clock::time_point now = Clock::now();
        const std::optional<int> wait = InputWaitMillis(
            input.Pending(), session.NextChangeAt() - reading(now), input.SecondsToNextWake(now));
        if (inputOpen && wait) inputOpen = input.Read(*wait);
        if (!inputOpen && !input.HasLine()) break;

        session.SetWrapWidth(WrapWidth(outputIsTerminal));
        session.PlayTo(reading(Clock::now()), input.HasLine() ? input.Next() : std::string());
        input.FrameShown();
    }

    // The editor leaves the cursor on an empty row; the terminal's own editing leaves the
    // line ^C interrupted open.
    input.Close();
    if (colour != ColourDepth::None) std::fputs(kResetSequence, stdout);
    if (StopRequested() && outputIsTerminal && !editor) std::fputs("\n", stdout);
    std::fflush(stdout);
    const int error = terminal.error();
    if (error != 0 && error != EPIPE) {
        std::fprintf(stderr, "tarnwick-text: cannot write the game's output: %s\n",
                     std::strerror(error));
        return 1;
    }
    return 0;
}
