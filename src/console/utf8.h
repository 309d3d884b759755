#pragma once

// A byte that continues a UTF-8 character rather than starting one.
inline bool IsUtf8Continuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}
