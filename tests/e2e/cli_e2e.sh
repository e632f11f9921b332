#!/usr/bin/env bash
# velmo-cli.exe, the console program: converts a picture, passes one byte for
# byte through standard output, and turns a reader's message box into its
# one line on standard error with a non-zero exit, instead of waiting for a
# click.
. "$(dirname "$0")/lib.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cli() { timeout 60 "$source_dir/scripts/wine-run" "$build/bin/velmo-cli.exe" "$@"; }

# A 4 x 2 8-bit BMP: 14-byte file header, 40-byte info header, 256 colours,
# two rows of 4 bytes.
python3 - "$work/in.bmp" <<'PY'
import struct, sys
pixels = bytes([1, 2, 3, 4, 5, 6, 7, 8])
table = b"".join(struct.pack("<BBBB", i, 255 - i, i // 2, 0) for i in range(256))
info = struct.pack("<IiiHHIIiiII", 40, 4, 2, 1, 8, 0, len(pixels), 0, 0, 256, 0)
head = struct.pack("<HIHHI", 0x4D42, 14 + 40 + 1024 + len(pixels), 0, 0, 14 + 40 + 1024)
open(sys.argv[1], "wb").write(head + info + table + pixels)
PY
failed=0
check() { # what condition...
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what" >&2; failed=$((failed + 1)); fi
}

cli convert "$(windows_path "$work/in.bmp")" "$(windows_path "$work/out.gif")"
check "convert writes a GIF" test "$(head -c 6 "$work/out.gif")" = GIF89a

cli convert "$(windows_path "$work/out.gif")" "$(windows_path "$work/back.bmp")"
cli convert "$(windows_path "$work/out.gif")" - --to bmp >"$work/piped.bmp"
check "standard output holds the file's bytes unchanged" cmp -s "$work/back.bmp" "$work/piped.bmp"

printf 'BMshort' >"$work/short.bmp"
rc=0
cli convert "$(windows_path "$work/short.bmp")" "$(windows_path "$work/x.gif")" 2>"$work/err" || rc=$?
check "a refused file exits with 1, not a timeout" test "$rc" = 1
check "the reader's message is the one line on standard error" \
    grep -q 'short.bmp: cannot be read (Open Error)' "$work/err"
check "nothing is written" test ! -e "$work/x.gif"

# An encoder Add-In installed beside the program is one more output format;
# without it the same extension is unknown.
installed="$work/installed"
mkdir -p "$installed"
cp "$build/bin/velmo-cli.exe" "$build/bin/rasko32.dll" "$installed/"
rc=0
timeout 60 "$source_dir/scripts/wine-run" "$installed/velmo-cli.exe" convert \
    "$(windows_path "$work/in.bmp")" "$(windows_path "$work/out.tst")" 2>/dev/null || rc=$?
check "without the Add-In its extension is a usage error" test "$rc" = 2
cp "$build/bin/test_addins/host_2000_encoder.dll" "$installed/"
timeout 60 "$source_dir/scripts/wine-run" "$installed/velmo-cli.exe" convert \
    "$(windows_path "$work/in.bmp")" "$(windows_path "$work/out.tst")"
check "the installed encoder writes the picture and its layer" \
    grep -q '^2 frames 4 x 2' "$work/out.tst"

[ "$failed" = 0 ] || exit 1
echo "cli: 7 passed, 0 failed"
