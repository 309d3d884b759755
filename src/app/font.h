#pragma once

struct ImGuiIO;

// Makes the TrueType font at `path`, rasterised at `scale` times its size, the only font of the
// GUI. When the file cannot be read or is not a usable font, says so on standard error and
// uses the toolkit's built-in font.
void LoadConsoleFont(ImGuiIO& io, const char* path, float scale);
// The toolkit's built-in font at `scale` times its size.
void LoadBuiltInFont(ImGuiIO& io, float scale);
