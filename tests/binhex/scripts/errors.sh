#!/bin/bash
# Every way `binhex encode` can fail: each gives its one line on standard
# error and its exit status, prints nothing on standard output, and leaves no
# .hqx and no temporary file anywhere.
source "$(dirname "$0")/testlib.sh"

# expect_failure LABEL STATUS STDERR_LINE DIRS -- COMMAND...
#   DIRS is a space-separated list of directories whose entries must not
#   change.
expect_failure() {
    local label=$1 status=$2 line=$3 dirs=$4
    shift 5
    local before=() d
    for d in $dirs; do before+=("$(entries "$d")"); done
    local out="$WORK/out" err="$WORK/err" got=0
    timeout 20 "$@" >"$out" 2>"$err" </dev/null || got=$?
    check "$label: exit status $status (got $got)" test "$got" -eq "$status"
    check "$label: the message ($(head -c 200 "$err"))" test "$(cat "$err")" == "$line"
    check "$label: one line on stderr" test "$(wc -l <"$err")" -eq 1
    check "$label: nothing on stdout" test ! -s "$out"
    local i=0
    for d in $dirs; do
        check "$label: $d unchanged" test "$(entries "$d")" == "${before[$i]}"
        i=$((i + 1))
    done
}

src=$(fresh_dir)
dst=$(fresh_dir)
chmod 777 "$src" "$dst"
printf 'some data\n' >"$src/file"
chmod 644 "$src/file"

expect_failure "a missing file" 1 "binhex: $src/missing: No such file or directory" "$src $dst" \
    -- "$BINHEX" encode "$src/missing" -C "$dst"

printf 'secret\n' >"$src/unreadable"
chmod 000 "$src/unreadable"
expect_failure "an unreadable file" 1 "binhex: $src/unreadable: Permission denied" "$src $dst" \
    -- "${unprivileged[@]}" "$BINHEX" encode "$src/unreadable" -C "$dst"
rm -f "$src/unreadable"

mkdir "$src/folder"
expect_failure "a directory" 1 "binhex: $src/folder: Is a directory" "$src $dst" \
    -- "$BINHEX" encode "$src/folder" -C "$dst"
rmdir "$src/folder"

# A pipe with no writer would block a plain open() for ever.
mkfifo "$src/pipe"
expect_failure "a FIFO, refused without waiting" 1 "binhex: $src/pipe: not a regular file" \
    "$src $dst" -- "$BINHEX" encode "$src/pipe" -C "$dst"
rm -f "$src/pipe"
expect_failure "a device" 1 "binhex: /dev/zero: not a regular file" "$dst" \
    -- "$BINHEX" encode /dev/zero -C "$dst"
# Nor is a pipe by a companion's name read, or waited for.
piped=$(fresh_dir)
printf 'data\n' >"$piped/doc"
mkfifo "$piped/._doc"
check "a FIFO named like a companion is passed over at once" \
    bash -c 'timeout 20 "$1" encode "$2/doc" </dev/null >/dev/null' _ "$BINHEX" "$piped"
check "and the file is encoded without it" test -f "$piped/doc.hqx"

# Sparse, so it takes no disk.
truncate -s 4294967296 "$src/huge"
expect_failure "a file over 4 GiB - 1" 1 \
    "binhex: $src/huge: too large for BinHex: 4294967296 bytes (at most 4294967295)" "$src $dst" \
    -- "$BINHEX" encode "$src/huge" -C "$dst"
rm -f "$src/huge"

# Files in /proc say they are empty but are not; files in /sys say they are
# 4096 bytes and are shorter. Both look like a file changing under the reader.
expect_failure "a file that grows while it is read" 1 \
    "binhex: /proc/version: it changed size while being read" "$dst" \
    -- "$BINHEX" encode /proc/version -C "$dst"
sys_file=/sys/devices/system/cpu/online
if [[ -f $sys_file && $(stat -c %s "$sys_file") -gt $(wc -c <"$sys_file") ]]; then
    expect_failure "a file that shrinks while it is read" 1 \
        "binhex: $sys_file: it changed size while being read" "$dst" \
        -- "$BINHEX" encode "$sys_file" -C "$dst"
else
    echo "skipped: $sys_file is not there to stand in for a file that shrinks"
fi

# And real files changed by another program while they are read: sparse and
# all zeros, so reading takes seconds while the change takes a moment.
# change_while_encoding FILE DIR SIZE: once the program has its temporary
# open, makes FILE SIZE bytes long. Returns the program's exit status.
change_while_encoding() {
    "$BINHEX" encode "$1" -C "$2" &
    local pid=$!
    wait_for_temporary "$pid" "$2" && truncate -s "$3" "$1"
    wait "$pid"
}
export -f change_while_encoding wait_for_temporary
export BINHEX
truncate -s 4294967295 "$src/shrinking"
expect_failure "a file cut short while it is read" 1 \
    "binhex: $src/shrinking: it changed size while being read" "$dst" \
    -- bash -c 'change_while_encoding "$@"' _ "$src/shrinking" "$dst" $((1 << 20))
rm -f "$src/shrinking"
truncate -s $((1 << 30)) "$src/growing"
expect_failure "a file added to while it is read" 1 \
    "binhex: $src/growing: it changed size while being read" "$dst" \
    -- bash -c 'change_while_encoding "$@"' _ "$src/growing" "$dst" $(((1 << 30) + 1))
rm -f "$src/growing"

expect_failure "a missing destination" 1 \
    "binhex: $src/file: cannot write into $WORK/nowhere: No such file or directory" "$src" \
    -- "$BINHEX" encode "$src/file" -C "$WORK/nowhere"
expect_failure "a destination that is a file" 1 \
    "binhex: $src/file: cannot write into $src/file: Not a directory" "$src" \
    -- "$BINHEX" encode "$src/file" -C "$src/file"

readonly_dir=$(fresh_dir)
chmod 555 "$readonly_dir"
expect_failure "a read-only destination" 1 \
    "binhex: $src/file: cannot write into $readonly_dir: Permission denied" "$src $readonly_dir" \
    -- "${unprivileged[@]}" "$BINHEX" encode "$src/file" -C "$readonly_dir"
chmod 755 "$src"
chmod 555 "$src"
expect_failure "a read-only folder beside the file" 1 \
    "binhex: $src/file: cannot write into $src: Permission denied" "$src" \
    -- "${unprivileged[@]}" "$BINHEX" encode "$src/file"
chmod 777 "$src"

# A file size limit stands in for a full disk (a small file system may not
# be mountable here). SIGXFSZ keeps its default action: the program must turn
# it into a failed write rather than die half-way.
head -c $((1 << 20)) /dev/urandom >"$src/big"
expect_failure "a full disk" 1 "binhex: $src/big: cannot write into $dst: File too large" \
    "$src $dst" -- bash -c 'trap - XFSZ; ulimit -f 64; exec "$@"' limit "$BINHEX" encode "$src/big" -C "$dst"
# And a file system that is really full, or read-only, where one can be
# mounted.
if mount_tmpfs full size=64k; then
    expect_failure "a full disk" 1 "binhex: $src/big: cannot write into $full: No space left on device" \
        "$src $full" -- "$BINHEX" encode "$src/big" -C "$full"
else
    echo "skipped: a full disk on a small tmpfs (no tmpfs can be mounted here)"
fi
if mount_tmpfs read_only ro,size=64k; then
    expect_failure "a read-only file system" 1 \
        "binhex: $src/file: cannot write into $read_only: Read-only file system" \
        "$src $read_only" -- "$BINHEX" encode "$src/file" -C "$read_only"
else
    echo "skipped: a read-only file system (no tmpfs can be mounted here)"
fi
rm -f "$src/big"

# What the system refuses is named, with what it was refused for. With N
# descriptors the program gets as far as its first open beyond them: the
# source folder, the companion, the conversion tables.
with_descriptors() {
    local n=$1
    shift
    exec 3>&- 4>&- 5>&-
    ulimit -n "$n"
    exec "$@"
}
export -f with_descriptors
descriptor_case() {
    expect_failure "$1 descriptors" 1 "binhex: $src/file: $2: Too many open files" "$src $dst" \
        -- bash -c 'with_descriptors "$@"' _ "$1" "$BINHEX" encode "$src/file" -C "$dst"
}
sanitized=false
ldd "$BINHEX" | grep -q libasan && sanitized=true
# The undefined-behaviour sanitizer checks a type through a pipe of its own,
# and 4 descriptors leave it none for that.
if $sanitized; then
    echo "skipped: 4 descriptors (a sanitizer build)"
else
    descriptor_case 4 "cannot open $src"
fi
descriptor_case 5 "cannot open its AppleDouble companion"
descriptor_case 6 "cannot convert names to Mac OS Roman"
# A sanitizer's shadow memory alone is more than this limit.
if $sanitized; then
    echo "skipped: too little memory for the encoder's threads (a sanitizer build)"
else
    expect_failure "too little memory for the encoder's threads" 1 \
        "binhex: $src/file: cannot start the encoder thread: Resource temporarily unavailable" \
        "$src $dst" -- bash -c 'ulimit -v 20000; exec "$@"' limit "$BINHEX" encode "$src/file" -C "$dst"
fi

# An empty argument is named too, as ''.
expect_failure "an empty FILE" 1 "binhex: '': No such file or directory" "$dst" \
    -- bash -c 'cd "$1" && exec "$2" encode ""' _ "$dst" "$BINHEX"
expect_failure "an empty DIR" 1 "binhex: $src/file: cannot write into '': No such file or directory" \
    "$src $dst" -- bash -c 'cd "$1" && exec "$2" encode "$3" -C ""' _ "$dst" "$BINHEX" "$src/file"

# The new path on standard output is the result: when it cannot be written,
# the run failed and its .hqx goes again.
expect_failure "a full standard output" 1 "binhex: $src/file: write error: No space left on device" \
    "$src $dst" -- bash -c 'exec "$@" >/dev/full' _ "$BINHEX" encode "$src/file" -C "$dst"
expect_failure "a closed standard output" 1 "binhex: $src/file: write error: Bad file descriptor" \
    "$src $dst" -- bash -c 'exec "$@" >&-' _ "$BINHEX" encode "$src/file" -C "$dst"
expect_failure "a full standard output, beside the file" 1 \
    "binhex: $src/file: write error: No space left on device" "$src" \
    -- bash -c 'exec "$@" >/dev/full' _ "$BINHEX" encode "$src/file"
for option in --help --version; do
    expect_failure "$option to a full standard output" 1 \
        "binhex: write error: No space left on device" "$dst" \
        -- bash -c 'exec "$@" >/dev/full' _ "$BINHEX" "$option"
done

# The companion is read before anything is written.
printf 'data\n' >"$src/doc"
printf 'companion\n' >"$src/._doc"
chmod 000 "$src/._doc"
expect_failure "an unreadable companion" 1 \
    "binhex: $src/doc: cannot open its AppleDouble companion: Permission denied" "$src $dst" \
    -- "${unprivileged[@]}" "$BINHEX" encode "$src/doc" -C "$dst"
chmod 644 "$src/._doc"
perl -e 'print pack("N N", 0x00051607, 0x00020000), "\0" x 16, pack("n N3", 1, 2, 100, 5000)' \
    >"$src/._doc"
expect_failure "a damaged companion" 1 \
    "binhex: $src/doc: its AppleDouble companion is damaged" "$src $dst" \
    -- "$BINHEX" encode "$src/doc" -C "$dst"
perl -e 'print pack("N N", 0x00051607, 0x00020000), "\0" x 2' >"$src/._doc"
expect_failure "a companion cut short inside its header" 1 \
    "binhex: $src/doc: its AppleDouble companion is damaged" "$src $dst" \
    -- "$BINHEX" encode "$src/doc" -C "$dst"
rm -f "$src/doc" "$src/._doc"

# Usage errors: status 2, one line, nothing written in the working directory.
cd "$dst" || exit 1
usage_case() {
    local label=$1 line=$2
    shift 2
    expect_failure "usage: $label" 2 "$line" "$dst" -- "$BINHEX" "$@"
}
usage_case "no arguments" "binhex: missing command (try 'binhex --help')"
usage_case "an unknown command" "binhex: unknown command 'decode' (try 'binhex --help')" decode x
usage_case "encode without a file" "binhex: missing FILE after 'encode'" encode
usage_case "-C without a directory" "binhex: missing DIR after -C" encode "$src/file" -C
usage_case "a second file" "binhex: unexpected argument after FILE (only -C DIR may follow)" \
    encode "$src/file" other
usage_case "more after the directory" "binhex: unexpected argument after -C DIR" \
    encode "$src/file" -C "$dst" more
usage_case "--help with more" "binhex: --help takes no arguments" --help encode

check "--help prints the usage and succeeds" bash -c '"$1" --help | grep -q "^Usage: binhex encode FILE \[-C DIR\]"' _ "$BINHEX"
check "--version prints the version and succeeds" test "$("$BINHEX" --version)" == "binhex 1.0.0"

finish
