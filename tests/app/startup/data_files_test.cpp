#include "app/startup/data_files.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using Folders = std::vector<std::string>;

TEST(DataFoldersTest, SearchOrderFromEachKindOfStart) {
    const Folders fonts = {"/usr/share/fonts/truetype/hack"};
    struct Case {
        const char* label;
        std::string workingDirectory;
        std::string executable;
        Folders expected;
    };
    const Case cases[] = {
        {"installed, started from home",
         "/home/ann",
         "/usr/games/tarnwick",
         {"/home/ann", "/usr/games", "/usr/share/games/tarnwick", fonts[0]}},
        {"unpacked anywhere",
         "/tmp/x/",
         "/tmp/pkg/usr/games/tarnwick",
         {"/tmp/x", "/tmp/pkg/usr/games", "/tmp/pkg/usr/share/games/tarnwick", fonts[0]}},
        {"build tree from the top folder",
         "/src/tw",
         "/src/tw/build/tarnwick",
         {"/src/tw", "/src/tw/build", "/src/tw/share/games/tarnwick", fonts[0]}},
        {"started in its own folder: no folder twice",
         "/src/tw/build",
         "/src/tw/build/./tarnwick",
         {"/src/tw/build", "/src/tw/share/games/tarnwick", fonts[0]}},
        {"executable unknown", "/home/ann", "", {"/home/ann", fonts[0]}},
        {"working directory gone",
         "",
         "/usr/games/tarnwick",
         {"/usr/games", "/usr/share/games/tarnwick", fonts[0]}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DataFolders(c.workingDirectory, c.executable, fonts), c.expected) << c.label;
    }
}

TEST(DataFoldersTest, FirstFolderHoldingTheFileWins) {
    const Folders folders = {"/home/ann", "/usr/games", "/usr/share/games/tarnwick"};
    const std::set<std::string> present = {
        "/usr/games/splash.png", "/usr/share/games/tarnwick/splash.png", "/home/ann/Hack-Bold.ttf"};
    const auto exists = [present](const std::string& path) {
        return present.count(path) > 0;
    };

    EXPECT_EQ(FindInFolders("splash.png", folders, exists), "/usr/games/splash.png");
    EXPECT_EQ(FindInFolders("Hack-Bold.ttf", folders, exists), "/home/ann/Hack-Bold.ttf");
    EXPECT_EQ(FindInFolders("other.png", folders, exists), std::nullopt);
    EXPECT_EQ(FindInFolders("splash.png", {}, exists), std::nullopt);
}

TEST(DataFoldersTest, MessageNamesEveryFolderTried) {
    EXPECT_EQ(NotFoundMessage("splash.png", {"/a", "/b", "/c"}, "no splash screen"),
              "tarnwick: cannot find \"splash.png\" in /a, /b or /c; no splash screen");
    EXPECT_EQ(NotFoundMessage("Hack-Bold.ttf", {"/a"}, "using the built-in font"),
              "tarnwick: cannot find \"Hack-Bold.ttf\" in /a; using the built-in font");
    EXPECT_EQ(NotFoundMessage("x", {}, "none"),
              "tarnwick: cannot find \"x\" in any folder (none is known); none");
}

}  // namespace
