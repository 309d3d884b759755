# Writes one of the page's files from its template, with what the page shares with the window
# filled in from the one place each is defined:
#   @TARNWICK_COLOURS@       the colours of src/console/palette.inc as CSS custom properties,
#                            named in lower case (--action: rgb(211, 64, 18);), one a line
#   @TARNWICK_CONSOLE_HEX@   the console's background as #rrggbb, the page's theme colour
#   @TARNWICK_SPLASH_KEYS@   the KeyboardEvent.code of each key of src/session/splash_keys.inc,
#                            as the items of a JavaScript list
#   cmake -DSOURCE_DIR=src -DTEMPLATE=FILE -DOUTPUT=FILE -P make_site_file.cmake
cmake_minimum_required(VERSION 3.16)

file(STRINGS "${SOURCE_DIR}/console/palette.inc" colours REGEX "^COLOUR\\(")
set(TARNWICK_COLOURS "")
foreach(colour IN LISTS colours)
    if(NOT colour MATCHES "^COLOUR\\(([A-Za-z]+), *([0-9]+), *([0-9]+), *([0-9]+)\\)")
        message(FATAL_ERROR "palette.inc: cannot read the colour ${colour}")
    endif()
    string(TOLOWER "${CMAKE_MATCH_1}" name)
    set(red ${CMAKE_MATCH_2})
    set(green ${CMAKE_MATCH_3})
    set(blue ${CMAKE_MATCH_4})
    string(APPEND TARNWICK_COLOURS "    --${name}: rgb(${red}, ${green}, ${blue});\n")
    if(name STREQUAL "console")
        # Counted from 0x1000000, so that each byte comes out as two digits after the first 1.
        math(EXPR hex "0x1000000 + (${red} << 16) + (${green} << 8) + ${blue}"
             OUTPUT_FORMAT HEXADECIMAL)
        string(SUBSTRING "${hex}" 3 6 hex)
        string(TOLOWER "#${hex}" TARNWICK_CONSOLE_HEX)
    endif()
endforeach()
string(REGEX REPLACE "\n$" "" TARNWICK_COLOURS "${TARNWICK_COLOURS}")

file(STRINGS "${SOURCE_DIR}/session/splash_keys.inc" keys REGEX "^SPLASH_KEY\\(")
list(TRANSFORM keys REPLACE "^SPLASH_KEY\\([A-Z0-9_]+, *([A-Za-z0-9]+)\\).*" "'\\1'")
list(JOIN keys ", " TARNWICK_SPLASH_KEYS)

configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
