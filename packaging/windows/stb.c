/* The parts of stb that the window program and Dear ImGui use, compiled once. */
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
#define STB_RECT_PACK_IMPLEMENTATION
#include <stb/stb_rect_pack.h>
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb/stb_truetype.h>
