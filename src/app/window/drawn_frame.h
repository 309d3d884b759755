#pragma once

#include <vector>

struct ImDrawData;

// What the GUI toolkit last put on screen, as its draw lists: a frame whose lists are the same
// would draw the same pixels, so it need not be drawn.
class DrawnFrame {
public:
    // Whether `data` would draw anything different from the frame recorded last; records it.
    bool Changed(const ImDrawData& data);

private:
    std::vector<unsigned char> last_;
    std::vector<unsigned char> next_;
};
