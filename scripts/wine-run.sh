#!/bin/sh
# Runs one Windows program, as CTest's emulator: in a fresh Wine prefix of
# its own, on an Xvfb display of its own, under the Korean locale. Only the
# processes started here are ended afterwards.
set -u
. "$(dirname "$0")/wine-env.sh"

cleanup() {
    stop_wine
    [ -n "${KEEP_WINE_PREFIX:-}" ] || rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
trap 'exit 124' INT TERM

# Wine's own messages, the relay journal among them, go to C:\wine-stderr.txt
# of the prefix, where a test can read them; a failing run shows their end.
run_in_new_prefix() {
    new_wine_prefix
    start_xvfb
    start_wine_services
    journal="$WINEPREFIX/drive_c/wine-stderr.txt"
    output="$WINEPREFIX/program-stdout.txt"
    timeout -k 5 "${WINE_RUN_TIMEOUT:-600}" $WINE64 "$@" >"$output" 2>"$journal"
    status=$?
    cat "$output"
}

run_in_new_prefix "$@"
# A run that failed without a word, neither from the program nor in Wine's
# journal, never reached the program: Wine itself did not start it. That is
# no result, and the program runs once more in another new prefix.
if [ $status != 0 ] && [ ! -s "$output" ] && [ ! -s "$journal" ]; then
    echo "wine-run: Wine ended with $status before the program said anything; starting it once more" >&2
    cleanup
    run_in_new_prefix "$@"
fi
[ $status = 0 ] || tail -c 4000 "$journal" >&2
exit $status
