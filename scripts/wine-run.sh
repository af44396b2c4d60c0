#!/bin/sh
# Runs one Windows program, as CTest's emulator: in a fresh Wine prefix of
# its own, on an Xvfb display of its own, under the Korean locale. Only the
# processes started here are ended afterwards.
set -u
. "$(dirname "$0")/wine-env.sh"

new_wine_prefix
start_xvfb
cleanup() {
    stop_wine
    [ -n "${KEEP_WINE_PREFIX:-}" ] || rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
trap 'exit 124' INT TERM

start_wine_services
# Wine's own messages, the relay journal among them, go to C:\wine-stderr.txt
# of the prefix, where a test can read them; a failing run shows their end.
journal="$WINEPREFIX/drive_c/wine-stderr.txt"
timeout -k 5 "${WINE_RUN_TIMEOUT:-600}" $WINE64 "$@" 2>"$journal"
status=$?
[ $status = 0 ] || tail -c 4000 "$journal" >&2
exit $status
