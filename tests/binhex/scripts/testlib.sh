# Shared by the shell tests: a scratch directory removed at exit, pass/fail
# counting, and the closing "N passed, N failed" line.
#
# The program under test is always the one named by $BINHEX, a full path into
# the build: macutils installs an unrelated /usr/bin/binhex.

set -u
: "${BINHEX:?BINHEX must name the built binhex program}"
case "$BINHEX" in
/*) ;;
*) echo "BINHEX must be an absolute path, not '$BINHEX'" >&2; exit 2 ;;
esac
[[ -x "$BINHEX" ]] || { echo "no program at $BINHEX" >&2; exit 2; }

SCRIPTS_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
WORK=$(mktemp -d "${TMPDIR:-/tmp}/binhex-test.XXXXXX")
chmod 755 "$WORK"
# File systems a test mounted under $WORK, unmounted before it is removed.
MOUNTED=()
cleanup() {
    local m
    for m in "${MOUNTED[@]}"; do umount "$m" 2>/dev/null; done
    chmod -R u+rwx "$WORK" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

# "${unprivileged[@]}" COMMAND...: runs COMMAND where permission bits apply.
# They do not stop root, so as root COMMAND runs as nobody.
unprivileged=()
if [[ $(id -u) -eq 0 ]]; then
    unprivileged=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
fi

passed=0
failed=0

pass() {
    passed=$((passed + 1))
    echo "ok: $1"
}

fail() {
    failed=$((failed + 1))
    echo "FAILED: $1"
}

# check DESCRIPTION COMMAND...: passes when the command succeeds.
check() {
    local description=$1
    shift
    if "$@"; then pass "$description"; else fail "$description"; fi
}

finish() {
    echo "$passed passed, $failed failed"
    [[ $failed -eq 0 ]]
}

# Lists a directory's entries, hidden ones included, one per line, sorted.
entries() {
    (cd "$1" && LC_ALL=C ls -A1)
}

# A fresh, empty directory under $WORK.
fresh_dir() {
    local dir
    dir=$(mktemp -d "$WORK/d.XXXXXX")
    chmod 755 "$dir"
    echo "$dir"
}

# mount_tmpfs VARIABLE OPTIONS: mounts a tmpfs with OPTIONS on a fresh
# directory and sets VARIABLE to its path (in this shell, so that the cleanup
# knows it); fails where mounting is not allowed (not root, or no such
# privilege here).
mount_tmpfs() {
    local dir
    dir=$(fresh_dir)
    mount -t tmpfs -o "$2" tmpfs "$dir" 2>/dev/null || return 1
    MOUNTED+=("$dir")
    printf -v "$1" '%s' "$dir"
}

# wait_for_temporary PID DIR: waits until the program has its temporary open
# in DIR, a descriptor whose target lies in DIR (an unnamed one shows as
# "DIR/#123 (deleted)"). Fails if the program ends first.
wait_for_temporary() {
    local pid=$1 dir=$2 tries
    for tries in $(seq 1 500); do
        local fd
        for fd in /proc/"$pid"/fd/*; do
            [[ "$(readlink "$fd" 2>/dev/null)" == "$dir"/* ]] && return 0
        done
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.01
    done
    return 1
}

# "${NAMED_TEMPORARY[@]}" COMMAND...: runs COMMAND where the program cannot
# give a name to a temporary that has none, so that it writes a named one, as
# it must on file systems without unnamed files (FAT, NFS, SMB, FUSE) or
# without /proc. Its own /proc/PID/fd, the one part of /proc the program uses
# for this, is covered by an empty folder that it may not search: in a mount
# namespace of its own, and without the capabilities by which root searches
# any folder. (Hiding all of /proc would also hide /proc/self/environ, where
# the sanitizer runtime reads its options.) A command prefix rather than a
# function, so that COMMAND keeps the process ID, which the covered folder
# is named after, and which a background job's $! gives (unshare, sh and
# setpriv each exec the next). It needs the privilege to make a mount
# namespace; `can_force_named_temporary` says whether it works here.
NAMED_TEMPORARY=(unshare --mount --propagation private --
    sh -c 'mount -t tmpfs -o mode=000 no-fd "/proc/$$/fd" &&
        exec setpriv --bounding-set=-dac_override,-dac_read_search -- "$@"' named_temporary)

can_force_named_temporary() {
    "${NAMED_TEMPORARY[@]}" sh -c '! test -x /proc/self/fd' 2>/dev/null
}
