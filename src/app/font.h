#pragma once

struct ImGuiIO;

// Makes the TrueType font at `path` the only font of the GUI. When the file cannot be read or
// is not a usable font, says so on standard error and keeps the toolkit's built-in font.
void LoadConsoleFont(ImGuiIO& io, const char* path);
