#include "app/key_taps.h"

#include <GLFW/glfw3.h>
#include <imgui.h>

#include <iterator>

namespace {

bool IsTrackedKey(const ImGuiIO& io, int key) {
    return key >= 0 && key < static_cast<int>(std::size(io.KeysDown));
}

}  // namespace

void KeyTaps::Install(GLFWwindow* window) {
    window_ = window;
    glfwSetWindowUserPointer(window, this);
    bindingCallback_ = glfwSetKeyCallback(window, OnKey);
}

void KeyTaps::OnKey(GLFWwindow* window, int key, int scancode, int action, int mods) {
    auto* taps = static_cast<KeyTaps*>(glfwGetWindowUserPointer(window));
    if (taps->bindingCallback_ != nullptr) {
        taps->bindingCallback_(window, key, scancode, action, mods);
    }
    if (action == GLFW_PRESS) taps->pressed_.push_back(key);
}

void KeyTaps::BeforeNewFrame(ImGuiIO& io) {
    for (int key : pressed_) {
        if (IsTrackedKey(io, key)) io.KeysDown[key] = true;
    }
}

void KeyTaps::AfterFrame(ImGuiIO& io) {
    for (int key : pressed_) {
        if (IsTrackedKey(io, key)) io.KeysDown[key] = glfwGetKey(window_, key) == GLFW_PRESS;
    }
    pressed_.clear();
}
