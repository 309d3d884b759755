#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "text/interactive_play.h"
#include "text/options.h"
#include "text/play_signals.h"
#include "text/script.h"
#include "text/script_play.h"
#include "text/transcript.h"
#include "text/transcript_file.h"
#include "version/version.h"

namespace {

constexpr int kBadInput = 2;
constexpr int kWriteFailed = 1;
// Far more than any script needs; a larger file is most likely the wrong one.
constexpr std::size_t kMaxScriptBytes = 1 << 20;

void Complain(const std::string& message) {
    std::fprintf(stderr, "tarnwick-text: %s\n", message.c_str());
}

bool ReadScriptFile(const std::string& path, std::string& content, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        error = "cannot read the script '" + path + "': " + std::strerror(errno);
        return false;
    }
    char buffer[4096];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0 &&
           content.size() <= kMaxScriptBytes) {
        content.append(buffer, count);
    }
    const int readError = std::ferror(file) ? errno : 0;
    std::fclose(file);
    if (readError != 0) {
        error = "cannot read the script '" + path + "': " + std::strerror(readError);
        return false;
    }
    if (content.size() > kMaxScriptBytes) {
        error = "the script '" + path + "' is larger than 1 MiB";
        return false;
    }
    return true;
}

// Scripted play prints the transcript on standard output.
int PlayScriptToStandardOutput(const Script& script, TimeToAct timeToAct,
                               TranscriptWriter::Lines lines, Display* transcript) {
    std::signal(SIGPIPE, SIG_IGN);
    TranscriptWriter output(stdout, false, lines);
    DisplayList shown(transcript != nullptr ? std::vector<Display*>{&output, transcript}
                                            : std::vector<Display*>{&output});
    PlayScript(script, shown, timeToAct);
    int error = output.error();
    if (error == 0 && std::fflush(stdout) != 0) error = errno != 0 ? errno : EIO;
    if (error != 0 && error != EPIPE) {
        Complain(std::string("cannot write the transcript to the output: ") + std::strerror(error));
        return kWriteFailed;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // Options and the files they name, all checked before anything is written.
    Options options;
    std::string error;
    if (!ParseOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        Complain(error);
        std::fputs(kUsage, stderr);
        return kBadInput;
    }
    if (options.help || options.version) {
        if (options.help) {
            std::fputs(kUsage, stdout);
        } else {
            std::printf("tarnwick-text %s\n", kTarnwickVersion);
        }
        return 0;
    }

    if (!options.notice.empty()) Complain(options.notice);

    Script script;
    if (!options.scriptPath.empty()) {
        std::string text;
        if (!ReadScriptFile(options.scriptPath, text, error)) {
            Complain(error);
            return kBadInput;
        }
        script = ParseScript(text);
        if (script.errorLine != 0) {
            Complain(options.scriptPath + ":" + std::to_string(script.errorLine) + ": " +
                     script.error);
            return kBadInput;
        }
    }

    const TranscriptWriter::Lines lines =
        options.markup ? TranscriptWriter::Lines::Markup : TranscriptWriter::Lines::Plain;
    std::unique_ptr<TranscriptFile> transcript;
    if (!options.transcriptPath.empty()) {
        // Written as it happens in interactive play, so that a crash loses nothing shown.
        const bool flushEachLine = options.scriptPath.empty();
        transcript = TranscriptFile::Open(options.transcriptPath, flushEachLine, lines, error);
        if (!transcript) {
            Complain(error);
            return kBadInput;
        }
    }

    // Play.
    Display* transcriptDisplay = transcript ? &transcript->display() : nullptr;
    int status =
        options.scriptPath.empty()
            ? PlayInteractive(options.pace, options.timeToAct, options.plain, transcriptDisplay)
            : PlayScriptToStandardOutput(script, options.timeToAct, lines, transcriptDisplay);

    if (transcript && !transcript->Close(error)) {
        Complain(error);
        status = kWriteFailed;
    }
    // Everything is written and the terminal is as it was: a signal that ended play now ends
    // the program as it would have at once.
    RaiseStopSignalAgain();
    return status;
}
