#!/bin/sh
# Writes the page's program as one classic script: the compiled game's WebAssembly, gzipped (to
# 40% of its size) and as base64 text, unpacked by the browser and compiled as soon as the
# script runs (while the rest of the page loads), then the loader. No file is fetched, so the
# page also plays from a file:// address. gzip -n leaves out the name and time: the same input
# gives the same script. Whatever fails on the way rejects the promise; a browser too old to
# unpack it gets none, and game.js says why.
set -eu
loader=$1
wasm=${loader%.js}.wasm
out=$2
{
    printf 'var TarnwickWasm = typeof DecompressionStream !== "function" ? null : Promise.resolve("'
    gzip -9 -n -c "$wasm" | base64 -w0
    printf '").then(function (text) {\n'
    printf '    var bytes = Uint8Array.from(atob(text), function (c) { return c.charCodeAt(0); });\n'
    printf '    var wasm = new Blob([bytes]).stream().pipeThrough(new DecompressionStream("gzip"));\n'
    printf '    return new Response(wasm).arrayBuffer();\n'
    printf '}).then(function (bytes) { return WebAssembly.compile(bytes); });\n'
    cat "$loader"
} > "$out.tmp"
mv "$out.tmp" "$out"
