// Replacing a file whole on the real disk, in a scratch folder: what a crash or a failed step
// leaves beside it.

#include "app/platform/replace_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string Read(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(ReplaceFileWhole, LeavesTheNewTextAloneAndNothingBesideIt) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "tarnwick-replace-test";
    std::filesystem::remove_all(folder);
    const std::filesystem::path file = folder / "deeper" / "settings";
    std::string error;
    // A longer file beside it, left by a crash, is not read back past the new text's end.
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(folder / "deeper" / "settings.new") << "zoom=150\nfull-screen=on\n";
    EXPECT_TRUE(ReplaceFileWhole(file, "zoom=90\n", error)) << error;
    EXPECT_EQ(Read(file), "zoom=90\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "deeper" / "settings.new"));
    // A rename that fails (a folder where the file goes) says so and leaves no file beside it.
    std::filesystem::create_directories(folder / "taken" / "inside");
    EXPECT_FALSE(ReplaceFileWhole(folder / "taken", "zoom=90\n", error));
    EXPECT_EQ(error.rfind("cannot rename over \"", 0), 0u) << error;
    EXPECT_FALSE(std::filesystem::exists(folder / "taken.new"));
    std::filesystem::remove_all(folder);
}

}  // namespace
