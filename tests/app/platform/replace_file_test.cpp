// Replacing a file whole on the real disk, in a scratch folder: what a crash or a failed step
// leaves beside it.

#include "app/platform/replace_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

TEST(ReplaceFileWhole, LeavesTheNewTextAloneAndNothingBesideIt) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "tarnwick-replace-test";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "taken" / "inside");
    // A longer file beside it, left by a crash, is not read back past the new text's end.
    std::ofstream(folder / "settings.new") << "zoom=150\nfull-screen=on\n";
    std::string error;
    EXPECT_TRUE(ReplaceFileWhole(folder / "settings", "zoom=90\n", error)) << error;
    {
        // Closed before the folder goes: Windows removes no file that is open.
        std::ifstream written(folder / "settings");
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(written), {}), "zoom=90\n");
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "settings.new"));
    // A rename that fails (a folder where the file goes) says so and leaves no file beside it.
    EXPECT_FALSE(ReplaceFileWhole(folder / "taken", "zoom=90\n", error));
    EXPECT_EQ(error.rfind("cannot rename over \"", 0), 0u) << error;
    EXPECT_FALSE(std::filesystem::exists(folder / "taken.new"));
    std::filesystem::remove_all(folder);
}
