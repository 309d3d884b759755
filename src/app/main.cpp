#include <GLFW/glfw3.h>
#include <backends/imgui_impl_glfw.h>
#include <backends/imgui_impl_opengl2.h>
#include <imgui.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/access/access_bridge.h"
#include "app/access/no_at_bridge.h"
#include "app/access/reader_speech.h"
#include "app/platform/platform.h"
#include "app/speech/speech_service.h"
#include "app/startup/command_line.h"
#include "app/startup/data_files.h"
#include "app/startup/settings.h"
#include "app/window/font.h"
#include "app/window/shortcuts.h"
#include "app/window/splash.h"
#include "app/window/stale_wm_check.h"
#include "app/window/view_settings.h"
#include "app/window/window_input.h"
#include "app/window/window_loop.h"
#include "app/window/window_scale.h"
#include "console/console.h"
#include "session/display.h"
#include "session/play_session.h"
#include "session/speaking_display.h"

namespace {

constexpr const char* kWindowTitle = "Vosk - Tarnwick III";
constexpr const char* kFontFile = "Hack-Bold.ttf";
constexpr const char* kSplashFile = "splash.png";
// What the splash says when speech is on: the picture shows the title and how to go on.
constexpr const char* kSplashSpoken = "Vosk - Tarnwick III. Press Space, Enter or Escape to begin.";
// Where the fonts-hack-ttf package puts the font; the game's package depends on it.
constexpr const char* kSystemFontFolder = "/usr/share/fonts/truetype/hack";

// The time to act as the game starts, and how to change it.
std::string TimeToActHint(TimeToAct step) {
    if (step == TimeToAct::kNormal) return "F7 gives more time to act.";
    return TimeToActSentence(step) + " F7 changes it.";
}

void ReportGlfwError(int code, const char* description) {
    std::fprintf(stderr, "Error %d: %s\n", code, description);
}

// The primary monitor's content scale (the desktop's Xft.dpi on X11) and work area.
WorkArea PrimaryWorkArea() {
    WorkArea area;
    if (GLFWmonitor* monitor = glfwGetPrimaryMonitor()) {
        float yScale = 1.0f;
        glfwGetMonitorContentScale(monitor, &area.contentScale, &yScale);
        glfwGetMonitorWorkarea(monitor, &area.left, &area.top, &area.width, &area.height);
    }
    return area;
}

// The window, not resizable, at the screen's scale (or the command line's), with its OpenGL
// context current; nullptr when it cannot be made. It is made hidden, so that the window
// manager says how large a frame it adds, and shown once sized and placed so that the frame
// too fits the work area.
GLFWwindow* OpenWindow(const CommandLine& command, WindowScale& scale) {
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    // Full screen, the game stays on its monitor when the player turns to another window.
    glfwWindowHint(GLFW_AUTO_ICONIFY, GLFW_FALSE);
    GLFWwindow* window =
        glfwCreateWindow(kBaseWindowWidth, kBaseWindowHeight, kWindowTitle, nullptr, nullptr);
    if (window == nullptr) {
        std::fprintf(stderr, "tarnwick: the window could not be created\n");
        return nullptr;
    }
    FrameExtents frame;
    glfwGetWindowFrameSize(window, &frame.left, &frame.top, &frame.right, &frame.bottom);
    const WindowPlacement placement = PlaceWindow(command.scale, PrimaryWorkArea(), frame);
    scale = placement.size;
    glfwSetWindowSize(window, scale.width, scale.height);
    if (placement.positioned) glfwSetWindowPos(window, placement.x, placement.y);
    glfwShowWindow(window);
    glfwMakeContextCurrent(window);
    return window;
}

// The GUI toolkit at `scale`; its font is loaded by the loop, at the text's zoom. It keeps no
// settings file of its own, since the console's layout is fixed and nothing should be left in
// the player's folder.
void SetUpGui(GLFWwindow* window, WindowInput& input, float scale) {
    ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    ImGui::GetStyle().ScaleAllSizes(scale);
    ImGui_ImplGlfw_InitForOpenGL(window, true);
    ImGui_ImplOpenGL2_Init();
    input.Install(window);
}

}  // namespace

int main(int argc, char** argv) {
    // Options that answer without a window, then the data files, wherever the game was
    // started from.
    SetUpProcess();
    const CommandLine command = ParseCommandLine(ProgramArguments(argc, argv));
    if (const std::optional<int> status = AnswerCommandLine(command)) return *status;
    const std::optional<std::string> fontPath =
        FindDataFile(kFontFile, {kSystemFontFolder}, "using the built-in font");
    const std::optional<std::string> splashPath = FindDataFile(kSplashFile, {}, "no splash screen");
    // The splash picture is read and decoded while the window and the font are set up.
    std::optional<SplashDecoder> splashDecoder;
    if (splashPath) splashDecoder.emplace(*splashPath);

    // What the player chose in earlier runs.
    SettingsDisk disk;
    SettingsFile settingsFile(SettingsFolder(), disk, stderr);
    const Settings saved = settingsFile.Load();

    glfwSetErrorCallback(ReportGlfwError);
    RemoveStaleWindowManagerCheck();
    if (!glfwInit()) return 1;
    WindowScale scale;
    GLFWwindow* window = OpenWindow(command, scale);
    if (window == nullptr) {
        glfwTerminate();
        return 1;
    }
    GLint largestTexture = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largestTexture);
    if (splashDecoder) splashDecoder->SetLargestTexture(largestTexture);

    WindowInput input;
    SetUpGui(window, input, scale.scale);
    ConsoleFont font(fontPath, largestTexture);
    // Rasterised, and speech set up below, before the splash's upload waits for its decoding.
    font.Load(ImGui::GetIO(),
              ZoomedScale(scale.scale, StartingZoomStep(saved, command.scale.has_value())));

    {
        // The player's changes are written as they come, and what waits at the end before the
        // program ends.
        SettingsSaver settingsSaver(settingsFile);
        // Speech, then the game: its story starts now, so the welcome text waits in the log
        // during the splash, and is said after the splash's line. Unless the player chose,
        // speech follows the screen reader, whose state the desktop tells later.
        const std::unique_ptr<SpeechSink> speechService = SpeechThroughReader(OpenSpeechService());
        const std::optional<bool> speechChosen = SpeechChosen(command.speak, saved.speech);
        std::unique_ptr<ScreenReaderWatch> readerWatch;
        // Where a screen reader reads the window's accessibility tree through AT-SPI, it says
        // the game's texts in the player's own voice, and the game's voice stays quiet unless
        // asked for; elsewhere (NO_AT_BRIDGE=1, Windows) speech follows the reader.
        if (!speechChosen && AtSpiBridgeLeftOut()) {
            readerWatch = WatchScreenReader([] { glfwPostEmptyEvent(); });
        }
        SpeakingDisplay speech(*speechService, speechChosen.value_or(false));
        if (readerWatch) speech.FollowReader(readerWatch->answer());
        std::optional<SplashTexture> splash =
            splashDecoder ? splashDecoder->Upload() : std::nullopt;
        const TimeToAct timeToAct =
            command.timeToAct.value_or(saved.timeToAct.value_or(TimeToAct::kNormal));
        if (splash) speech.Say(kSplashSpoken);
        // Said before the welcome, so that a player who cannot see learns the choice exists.
        speech.Say(TimeToActHint(timeToAct));
        PlaySession session(speech, Console::kUnmeasuredWrapWidth);
        session.console().fillBackground = false;
        session.SetTimeToAct(timeToAct);
        // The accessibility tree is told what each frame shows, and asked about keys first.
        AccessBridge access(kWindowTitle, window, [] { glfwPostEmptyEvent(); });
        input.SetKeyFilter([&access](int key, int scancode, int action, int mods) {
            return access.PassKey(key, scancode, action, mods);
        });
        // The view as saved; what the player changes in it is kept for the next run.
        WindowLoop loop(window, input, std::move(splash), session, speech, font, scale.scale, saved,
                        command.scale.has_value(),
                        [&settingsSaver](const Settings& kept) { settingsSaver.Save(kept); });
        // The reader's edits of the line, handed over by the bridge: typed into the line as keys.
        loop.SetWoken([&access, &input, &session] {
            int caret = session.console().Caret();
            for (const LineEdit& edit : access.TakeLineEdits()) {
                input.EditLine(caret, edit.start, edit.end, edit.text);
                caret = edit.start + static_cast<int>(edit.text.size());
            }
        });
        loop.SetFrameBuilt([&access, &session, &input] {
            access.Show(session.StoryText(), session.console(), input.Focused());
        });
        loop.Run();
        input.SetKeyFilter(nullptr);
        // Closed at once: saving what waits and ending speech may take a moment.
        glfwHideWindow(window);
    }

    // Clean-up in reverse order.
    ImGui_ImplOpenGL2_Shutdown();
    ImGui_ImplGlfw_Shutdown();
    ImGui::DestroyContext();
    glfwTerminate();
    return 0;
}
