#!/bin/sh
# Writes the page's program as one classic script: the compiled game's WebAssembly as base64
# text, compiled as soon as the script runs (while the rest of the page loads), then the loader.
# No file is fetched, so the page also plays from a file:// address.
set -eu
loader=$1
wasm=${loader%.js}.wasm
out=$2
{
    printf 'var TarnwickWasm = (function (text) {\n'
    printf '    var bytes = new Uint8Array(text.length);\n'
    printf '    for (var i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);\n'
    printf '    return WebAssembly.compile(bytes);\n'
    printf '})(atob("'
    base64 -w0 "$wasm"
    printf '"));\n'
    cat "$loader"
} > "$out.tmp"
mv "$out.tmp" "$out"
