// Prints GL_MAX_TEXTURE_SIZE of the OpenGL driver on $DISPLAY, as the game's own context sees
// it: a GLFW window with default hints, kept hidden.
#include <GLFW/glfw3.h>

#include <cstdio>

int main() {
    if (!glfwInit()) {
        std::fprintf(stderr, "max_texture_size: GLFW cannot start\n");
        return 1;
    }
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(64, 64, "max_texture_size", nullptr, nullptr);
    if (window == nullptr) {
        std::fprintf(stderr, "max_texture_size: no OpenGL window\n");
        glfwTerminate();
        return 1;
    }
    glfwMakeContextCurrent(window);
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    std::printf("%d\n", largest);
    glfwTerminate();
    return largest > 0 ? 0 : 1;
}
