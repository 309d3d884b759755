#!/bin/sh
# Writes the page's program as one classic script: the compiled game's WebAssembly as base64
# text, which the page hands to the loader, then the loader itself. No file is fetched, so the
# page also plays from a file:// address.
set -eu
loader=$1
wasm=${loader%.js}.wasm
out=$2
{
    printf 'var TarnwickWasm = "'
    base64 -w0 "$wasm"
    printf '";\n'
    cat "$loader"
} > "$out.tmp"
mv "$out.tmp" "$out"
