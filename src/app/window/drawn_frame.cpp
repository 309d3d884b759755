#include "app/window/drawn_frame.h"

#include <imgui.h>

#include <utility>

namespace {

template <typename T>
void Append(std::vector<unsigned char>& bytes, const T* items, int count) {
    const auto* first = reinterpret_cast<const unsigned char*>(items);
    bytes.insert(bytes.end(), first, first + sizeof(T) * static_cast<std::size_t>(count));
}

}  // namespace

bool DrawnFrame::Changed(const ImDrawData& data) {
    next_.clear();
    Append(next_, &data.DisplayPos, 1);
    Append(next_, &data.DisplaySize, 1);
    for (int list = 0; list < data.CmdListsCount; ++list) {
        const ImDrawList& drawList = *data.CmdLists[list];
        Append(next_, &drawList.VtxBuffer.Size, 1);
        Append(next_, drawList.VtxBuffer.Data, drawList.VtxBuffer.Size);
        Append(next_, &drawList.IdxBuffer.Size, 1);
        Append(next_, drawList.IdxBuffer.Data, drawList.IdxBuffer.Size);
        // Only what reaches the screen, not the toolkit's bookkeeping pointers.
        for (const ImDrawCmd& command : drawList.CmdBuffer) {
            Append(next_, &command.ClipRect, 1);
            Append(next_, &command.TextureId, 1);
            Append(next_, &command.VtxOffset, 1);
            Append(next_, &command.IdxOffset, 1);
            Append(next_, &command.ElemCount, 1);
        }
    }
    const bool changed = next_ != last_;
    std::swap(last_, next_);
    return changed;
}
