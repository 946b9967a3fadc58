#!/bin/bash
# Stopping the program mid-file leaves nothing behind: SIGTERM, SIGINT and
# SIGHUP remove a named temporary, and the temporary without a name that the
# program uses where it can is gone even after SIGKILL.
source "$(dirname "$0")/testlib.sh"

# The largest file BinHex holds, sparse and all zeros: a second or so of
# encoding with almost nothing written, which leaves time to stop it.
src=$(fresh_dir)
truncate -s 4294967295 "$src/largest"

stop_case() {
    local signal=$1
    local dst pid status=0
    dst=$(fresh_dir)
    # A background job starts with SIGINT ignored, and the program keeps an
    # ignored signal ignored; perl restores the default first.
    perl -e '$SIG{INT} = "DEFAULT"; exec @ARGV or die' "$BINHEX" encode "$src/largest" -C "$dst" \
        >/dev/null 2>"$WORK/stderr" &
    pid=$!
    if ! wait_for_temporary "$pid" "$dst"; then
        wait "$pid"
        fail "SIG$signal: the program ended before it could be stopped"
        return
    fi
    kill -s "$signal" "$pid"
    wait "$pid" || status=$?
    check "SIG$signal ends the program by the signal (status $status)" \
        test "$status" -eq $((128 + $(kill -l "$signal")))
    check "SIG$signal leaves nothing in the destination" test -z "$(entries "$dst")"
    check "SIG$signal leaves nothing beside the file" test "$(entries "$src")" == largest
}

for signal in TERM INT HUP KILL; do
    stop_case "$signal"
done

finish
