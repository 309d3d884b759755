# The Windows build's libraries: what the Linux build takes from Debian's binary packages is
# built here, statically, from Debian's source packages at the versions installed for the Linux
# build (packaging/windows/fetch-sources.sh), under the names the Linux build finds them by.

# Nothing beside the programs but Windows' own DLLs: the C++ and GCC runtimes and winpthreads
# are linked in. No link time stamp, so that two builds give the same bytes.
add_link_options(-static -Wl,--no-insert-timestamp)

set(windows_sources ${CMAKE_BINARY_DIR}/sources)
set(source_packages libglfw3-dev libimgui-dev)
if(TARNWICK_TESTS)
    list(APPEND source_packages libgtest-dev)
endif()
execute_process(COMMAND ${PROJECT_SOURCE_DIR}/packaging/windows/fetch-sources.sh ${windows_sources}
                        ${source_packages}
                COMMAND_ERROR_IS_FATAL ANY)
set(TARNWICK_GLFW_SOURCE ${windows_sources}/glfw3)
set(TARNWICK_IMGUI_SOURCE ${windows_sources}/imgui)

find_package(OpenGL REQUIRED)

# GLFW as its own build makes it, without examples, tests, documentation or install rules.
foreach(part EXAMPLES TESTS DOCS)
    set(GLFW_BUILD_${part} OFF CACHE BOOL "" FORCE)
endforeach()
set(GLFW_INSTALL OFF CACHE BOOL "" FORCE)
add_subdirectory(${TARNWICK_GLFW_SOURCE} ${CMAKE_BINARY_DIR}/glfw3 EXCLUDE_FROM_ALL)
target_compile_options(glfw PRIVATE -w)
add_library(PkgConfig::GLFW ALIAS glfw)

# stb from libstb-dev's headers, copied so that no other header of the build machine is seen;
# file names reach stb_image in UTF-8 and are opened as UTF-16.
set(stb_include ${CMAKE_BINARY_DIR}/stb/include)
file(COPY /usr/include/stb/stb_image.h /usr/include/stb/stb_truetype.h
          /usr/include/stb/stb_rect_pack.h DESTINATION ${stb_include}/stb)
add_library(tarnwick_stb STATIC ${PROJECT_SOURCE_DIR}/packaging/windows/stb.c)
target_include_directories(tarnwick_stb SYSTEM PUBLIC ${stb_include})
target_compile_definitions(tarnwick_stb PRIVATE STBI_WINDOWS_UTF8)
target_compile_options(tarnwick_stb PRIVATE -w)
add_library(PkgConfig::STB ALIAS tarnwick_stb)

# Dear ImGui's core and its GLFW and OpenGL 2 backends, with stb's font rasteriser and
# rectangle packer taken from stb, as Debian's libimgui-dev has them.
set(imgui ${TARNWICK_IMGUI_SOURCE})
add_library(tarnwick_imgui STATIC ${imgui}/imgui.cpp ${imgui}/imgui_draw.cpp
                                  ${imgui}/imgui_tables.cpp ${imgui}/imgui_widgets.cpp
                                  ${imgui}/backends/imgui_impl_glfw.cpp
                                  ${imgui}/backends/imgui_impl_opengl2.cpp)
target_include_directories(tarnwick_imgui SYSTEM PUBLIC ${imgui})
target_compile_definitions(tarnwick_imgui PRIVATE
    IMGUI_DISABLE_STB_RECT_PACK_IMPLEMENTATION IMGUI_STB_RECT_PACK_FILENAME=<stb/stb_rect_pack.h>
    IMGUI_DISABLE_STB_TRUETYPE_IMPLEMENTATION IMGUI_STB_TRUETYPE_FILENAME=<stb/stb_truetype.h>)
target_compile_options(tarnwick_imgui PRIVATE -w)
target_link_libraries(tarnwick_imgui PUBLIC tarnwick_stb glfw OpenGL::GL)
add_library(PkgConfig::IMGUI ALIAS tarnwick_imgui)

# GoogleTest for the unit tests, without GoogleMock.
if(TARNWICK_TESTS)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${windows_sources}/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
