#pragma once

#include <cstddef>
#include <string>
#include <vector>

class Console;

// Texts of the game's story as the story writes them, with echoes of typed commands, so that a
// log made of them shows all five styles: plain, action, hint, interactable and echo.
const std::vector<std::string>& StoryTexts();

// The longest text the story adds to the log at once ("look around" in the room).
const std::string& LongestStoryText();

// Adds story texts, in turn, until the log holds exactly `displayLines` lines at its width.
void FillLog(Console& console, std::size_t displayLines);
