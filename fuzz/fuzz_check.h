#pragma once

// How the fuzz targets report a broken property: a message on standard error, then abort(),
// which libFuzzer records as a crash together with the input that caused it.

#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzz {

// Shows any bytes readably: printable ASCII as is, everything else as \xNN.
inline std::string Escaped(const std::string& bytes) {
    std::string out;
    for (unsigned char byte : bytes) {
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
            out += static_cast<char>(byte);
        } else {
            char code[5];
            std::snprintf(code, sizeof code, "\\x%02X", byte);
            out += code;
        }
    }
    return out;
}

[[noreturn]] inline void Fail(const char* property, const std::string& details) {
    std::fprintf(stderr, "property broken: %s\n%s\n", property, details.c_str());
    std::abort();
}

inline void Require(bool holds, const char* property) {
    if (!holds) Fail(property, {});
}

// `details` makes the message; it runs only when the property is broken.
template <typename Details>
void Require(bool holds, const char* property, const Details& details) {
    if (!holds) Fail(property, details());
}

}  // namespace fuzz
