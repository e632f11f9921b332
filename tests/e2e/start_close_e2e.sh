#!/usr/bin/env bash
# Start the program, see its frame, close it with Alt+F4: it must exit with
# code 0 and leave no process behind.
. "$(dirname "$0")/lib.sh"

start_velmo
frame=$(wait_window '^Velmo$')
screenshot start_close
close_window "$frame"
wait_exit
[ "$VELMO_RC" = 0 ] || { echo "velmo.exe exited with $VELMO_RC" >&2; exit 1; }
if pgrep -f "$build/bin/velmo.exe" >/dev/null; then
    echo "a velmo.exe process is still running" >&2
    exit 1
fi
echo "start_close: 1 passed, 0 failed"
