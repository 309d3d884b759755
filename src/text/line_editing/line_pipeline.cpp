#include "text/line_editing/line_pipeline.h"

#include <csignal>
#include <utility>

LinePipeline::LinePipeline(std::FILE* out, ColourDepth colour, std::function<int()> columns)
    : view_(out, colour), eraser_(view_), columns_(std::move(columns)) {}

bool LinePipeline::Feed(std::string_view bytes, Clock::time_point now) {
    return TakeKeys(decoder_.Feed(bytes, now));
}

bool LinePipeline::Pause(Clock::time_point now) {
    return TakeKeys(decoder_.Pause(now));
}

std::string LinePipeline::Next() {
    std::string line = std::move(lines_.front());
    lines_.pop_front();
    return line;
}

void LinePipeline::Draw() {
    view_.Draw(editor_.text(), editor_.cursor(), columns_());
}

void LinePipeline::FrameShown() {
    if (!view_.drawn()) Draw();
}

bool LinePipeline::TakeKeys(const std::vector<Key>& keys) {
    bool changed = false;
    bool submitted = false;
    bool refused = false;
    for (const Key& key : keys) {
        EditResult result = editor_.Apply(key);
        refused = refused || result.refused;
        // Ends the game the way Ctrl-C does when the terminal turns it into a signal.
        if (result.interrupt) std::raise(SIGINT);
        if (result.endOfInput) return false;
        if (result.submitted) {
            submitted = true;
            if (!result.line.empty()) lines_.push_back(std::move(result.line));
        }
        changed = changed || result.changed;
    }
    // One bell for a burst of refused keys: for all the keys of one read, and for a paste
    // however many reads it takes.
    if (refused && !bellInPaste_) {
        view_.Bell();
        bellInPaste_ = true;
    }
    if (!decoder_.pasting()) bellInPaste_ = false;
    // A submitted line comes back as the game's echo of it, above the line drawn afresh.
    if (submitted) {
        view_.Erase();
    } else if (changed) {
        Draw();
    }
    return true;
}
