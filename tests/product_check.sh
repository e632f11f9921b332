#!/usr/bin/env bash
# Checks the shipped binaries: a 32-bit GUI program bound to rasko32.dll by
# the underscore names, and no runtime DLLs beyond the system's.
set -euo pipefail
bin=$1
objdump=i686-w64-mingw32-objdump
fail() { echo "product_check: $*" >&2; exit 1; }

file "$bin/velmo.exe" | grep -q 'PE32 executable (GUI) Intel 80386' || fail "velmo.exe is not a 32-bit GUI program"
file "$bin/velmo-cli.exe" | grep -q 'PE32 executable (console) Intel 80386' || fail "velmo-cli.exe is not a 32-bit console program"
file "$bin/rasko32.dll" | grep -q 'PE32 executable (DLL)' || fail "rasko32.dll is not a 32-bit DLL"

exports=$($objdump -p "$bin/rasko32.dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p')
grep -q '\] _RaskoCreateDIB$' <<<"$exports" || fail "rasko32.dll does not export _RaskoCreateDIB"
if grep -qE '\] Rasko' <<<"$exports"; then fail "rasko32.dll exports names without the underscore"; fi

imports=$($objdump -p "$bin/velmo.exe" | sed -n '/DLL Name: rasko32.dll/,/DLL Name:/p')
grep -q '_RaskoCreateDIB' <<<"$imports" || fail "velmo.exe does not import _RaskoCreateDIB from rasko32.dll"

cli_imports=$($objdump -p "$bin/velmo-cli.exe" | sed -n '/DLL Name: rasko32.dll/,/DLL Name:/p')
grep -q '_RaskoSaveGIFHandleEx' <<<"$cli_imports" || fail "velmo-cli.exe does not use rasko32.dll"

program_exports=$($objdump -p "$bin/velmo.exe" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p')
for procedure in VLDIBWndProc VLDIBDispWndProc VLToolWndProc VLPenWndProc VLPenMakeWndProc \
    VLPaletteWndProc VLPaletteDispWndProc VLZoomWndProc VLZoomDispWndProc VLTileviewWndProc \
    VLMiniZoomWndProc VLGIFAnimeWndProc VLAnimeTestWndProc; do
    grep -q "\] $procedure\$" <<<"$program_exports" || fail "velmo.exe does not export $procedure by name"
done
if grep -q '\] VLFrameWndProc$' <<<"$program_exports"; then fail "velmo.exe exports the frame's procedure"; fi

for f in "$bin"/*.exe "$bin"/*.dll; do
    if $objdump -p "$f" | grep -iE 'DLL Name: (libstdc\+\+|libgcc|libwinpthread)'; then
        fail "$(basename "$f") needs a runtime DLL"
    fi
done
echo "product_check: 1 passed, 0 failed"
