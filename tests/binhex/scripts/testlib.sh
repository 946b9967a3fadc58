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
cleanup() {
    chmod -R u+rwx "$WORK" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

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
