#!/bin/bash
# Stopping the program mid-file leaves nothing behind. Every signal that would
# end it and can be caught removes a named temporary and then ends it as that
# signal does; the temporary without a name that the program uses where it
# can is gone even after SIGKILL. A signal that whoever started the program
# ignored stays ignored.
source "$(dirname "$0")/testlib.sh"

# Some of these leave a core file by default.
ulimit -c 0

# The largest file BinHex holds, sparse and all zeros: a second or so of
# encoding with almost nothing written, which leaves time to stop it.
src=$(fresh_dir)
truncate -s 4294967295 "$src/largest"

# A child started with & from a shell without job control has SIGINT and
# SIGQUIT ignored, and the test runner may have passed on others: perl starts
# the program with every signal here at its default action, except the one
# named in $IGNORE.
SIGNALS=(HUP INT QUIT ABRT USR1 USR2 ALRM TERM XCPU VTALRM PROF IO PWR RTMIN RTMAX)
reset_signals=(perl -e '
    my $ignore = shift;
    $SIG{$_} = "DEFAULT" for split / /, shift;
    $SIG{$ignore} = "IGNORE" if $ignore;
    exec @ARGV or die "exec: $!\n"' --)

kinds=(unnamed)
if can_force_named_temporary; then
    kinds+=(named)
else
    echo "skipped: the named temporary (no mount namespace can hide /proc/PID/fd here)"
fi

# start_encoding KIND DIR IGNORE: starts the program writing into DIR, in the
# background ($pid), and waits until it has its temporary open there.
start_encoding() {
    local kind=$1 dst=$2 ignore=$3 run=()
    [[ $kind == named ]] && run=("${NAMED_TEMPORARY[@]}")
    "${run[@]}" "${reset_signals[@]}" "$ignore" "${SIGNALS[*]}" \
        "$BINHEX" encode "$src/largest" -C "$dst" >/dev/null 2>"$WORK/stderr" &
    pid=$!
    if ! wait_for_temporary "$pid" "$dst"; then
        wait "$pid"
        return 1
    fi
    if [[ $kind == named ]]; then
        # Without a named temporary to remove, the case would show nothing.
        [[ $(entries "$dst") == .largest.hqx.?????? ]] || return 1
    else
        [[ -z $(entries "$dst") ]] || return 1
    fi
}

# stopped_by KIND SIGNAL IGNORE: the program, sent IGNORE (if any) and then
# SIGNAL, ends by SIGNAL and leaves nothing anywhere.
stopped_by() {
    local kind=$1 signal=$2 ignore=${3:-}
    local label="$kind temporary, SIG$signal${ignore:+ after an ignored SIG$ignore}"
    local dst status=0
    dst=$(fresh_dir)
    if ! start_encoding "$kind" "$dst" "$ignore"; then
        fail "$label: the program had no $kind temporary to stop ($(entries "$dst"))"
        kill -s KILL "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
        return
    fi
    # Standard signals pending together arrive lowest number first, so an
    # ignored SIGUSR1 that was not ignored would end the program before SIGTERM.
    [[ -n $ignore ]] && kill -s "$ignore" "$pid"
    kill -s "$signal" "$pid"
    # (The shell's own report of how its job ended is not wanted here.)
    { wait "$pid" || status=$?; } 2>/dev/null
    check "$label: ends the program by the signal (status $status)" \
        test "$status" -eq $((128 + $(kill -l "$signal")))
    check "$label: nothing in the destination" test -z "$(entries "$dst")"
    check "$label: nothing beside the file" test "$(entries "$src")" == largest
}

for kind in "${kinds[@]}"; do
    for signal in "${SIGNALS[@]}"; do
        stopped_by "$kind" "$signal"
    done
    stopped_by "$kind" TERM USR1
    stopped_by "$kind" TERM HUP
done
stopped_by unnamed KILL

finish
