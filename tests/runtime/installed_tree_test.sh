#!/usr/bin/env bash
# The program's files in the build tree and in an installed tree, and what the
# runtime finds from where the program stands: its resources and the binhex
# that ships with it as a private helper in libexec/tamzel/. An installed tree
# is also moved and reached through a symbolic link, since nothing in it may
# depend on where it was installed.
#
# Usage: installed_tree_test.sh BUILD_DIR PROBE
#   PROBE: the location probe, built into BUILD_DIR/bin next to the program.
set -euo pipefail

build="${1:?usage: installed_tree_test.sh BUILD_DIR PROBE}"
probe="${2:?usage: installed_tree_test.sh BUILD_DIR PROBE}"
probe_name="$(basename "$probe")"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

fail() { echo "installed tree: FAIL: $*" >&2; exit 1; }
say() { echo "installed tree: $*"; }
real() { (cd "$1" && pwd -P); }

resources=(Mac.tiff "Tamzel 2.tiff" Mac_Chime.m4a)

# Another binhex, first on the user's PATH, as an unrelated program of that
# name would be (macutils has one in /usr/bin).
mkdir "$tmp/other"
printf '#!/bin/sh\nexit 0\n' >"$tmp/other/binhex"
chmod +x "$tmp/other/binhex"

# check_from PROBE TREE: the probe, started as PROBE, finds TREE's resources and
# TREE's binhex, ahead of the other binhex on the PATH.
check_from() {
  local out
  out="$(PATH="$tmp/other:/usr/bin:/bin" "$1" 2>&1)" || fail "$1 failed: $out"
  local found; found="$(sed -n 's/^resources: //p' <<<"$out")"
  [[ -n "$found" && -d "$found" ]] || fail "$1 found no resources folder: $out"
  [[ "$(real "$found")" == "$(real "$2/share/tamzel/resources")" ]] ||
    fail "$1 looks for its resources in \"$found\", not in $2/share/tamzel/resources"
  local f
  for f in "${resources[@]}"; do
    grep -qxF "$f: found" <<<"$out" || fail "$1 does not find \"$f\": $out"
  done
  local tool; tool="$(sed -n 's/^binhex: //p' <<<"$out")"
  [[ "$tool" == "$(real "$2/libexec/tamzel")/binhex" ]] ||
    fail "$1 would run \"$tool\", not $2/libexec/tamzel/binhex"
}

# --- The build tree ------------------------------------------------------------
[[ -x "$build/bin/tamzel" && -x "$build/libexec/tamzel/binhex" ]] ||
  fail "the build lacks bin/tamzel or libexec/tamzel/binhex"
[[ "$(real "$(dirname "$probe")")" == "$(real "$build/bin")" ]] || fail "the probe is not in $build/bin"
check_from "$probe" "$build"
say "from $build/bin the resources and the shipped binhex are found"

# --- An installed tree -----------------------------------------------------------
prefix="$tmp/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/tamzel libexec/tamzel/binhex; do
  [[ -x "$prefix/$f" ]] || fail "the install lacks an executable $f"
done
# bin/ is on the user's PATH: it holds the program and nothing that could
# stand in for another package's command.
[[ "$(ls -A "$prefix/bin")" == tamzel ]] || fail "the install's bin/ holds more than tamzel: $(ls -A "$prefix/bin")"
for f in "${resources[@]}"; do
  cmp -s "$build/share/tamzel/resources/$f" "$prefix/share/tamzel/resources/$f" ||
    fail "the install lacks share/tamzel/resources/$f, or it differs from the build's"
done

entry="$prefix/share/applications/tamzel.desktop"
[[ -f "$entry" ]] || fail "the install lacks share/applications/tamzel.desktop"
[[ "$(head -n1 "$entry")" == "[Desktop Entry]" ]] || fail "the desktop entry does not begin with its group"
for line in Type=Application Name=Tamzel Exec=tamzel Icon=tamzel; do
  grep -qxF "$line" "$entry" || fail "the desktop entry lacks \"$line\""
done
[[ -f "$prefix/share/icons/hicolor/scalable/apps/tamzel.svg" ]] || fail "the install lacks the icon"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" || fail "desktop-file-validate refuses the desktop entry"
fi
say "the install holds bin/tamzel alone, libexec/tamzel/binhex, the three resources and the desktop entry"

cp "$probe" "$prefix/bin/"
check_from "$prefix/bin/$probe_name" "$prefix"
say "from the installed bin/ the resources and the installed binhex are found"

moved="$tmp/moved tree"
mv "$prefix" "$moved"
check_from "$moved/bin/$probe_name" "$moved"
ln -s "$moved/bin/$probe_name" "$tmp/link"
check_from "$tmp/link" "$moved"
say "the same after moving the tree, and through a symbolic link"
say "PASS"
