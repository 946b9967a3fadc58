#!/usr/bin/env bash
# Installs the build into a temporary prefix and drives the installed program
# on its own Xvfb the way a user would: files dragged from another program
# onto the picture button, a click on the picture and Ctrl+E with the two Qt
# file dialogs, About and Contact Developer, Ctrl+Q and closing the window.
# The .hqx files it makes are checked with three decoders that share no code
# with ours.
#
# Usage: run_e2e.sh BUILD_DIR DRAG_SOURCE
#   DRAG_SOURCE is the test's own drag-source program (e2e_drag_source).
# Every wait polls for an outcome; the time limits are only safety nets.
set -euo pipefail

usage="usage: run_e2e.sh BUILD_DIR DRAG_SOURCE"
build="${1:?$usage}"
drag_source="${2:?$usage}"
# shellcheck source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

require_tools Xvfb xdotool xwininfo hexbin uudeview perl python3
perl -MConvert::BinHex -e 1 2>/dev/null || fail "Convert::BinHex is missing: run scripts/setup"
[[ -x "$drag_source" ]] || fail "no drag-source program at $drag_source"
e2e_install_and_start_xvfb "$build"

# Commands named x and y, first on the program's PATH, leave a mark if a
# dropped file's name ever reaches the shell as code instead of as a name.
bait="$tmp/bait"
mkdir -p "$bait"
for command in x y; do
  printf '#!/bin/sh\necho "$0 $*" >>"%s/injected"\n' "$tmp" >"$bait/$command"
  chmod +x "$bait/$command"
done
# Another binhex, first on the user's PATH as an unrelated program of that
# name may be: the program must run the one it ships with, so this one only
# leaves a mark.
printf '#!/bin/sh\necho "$0 $*" >>"%s/injected"\n' "$tmp" >"$bait/binhex"
chmod +x "$bait/binhex"
# The desktop's opener, which Qt hands a mailto: URL to, stands in for the
# user's mail program and notes what it was given.
printf '#!/bin/sh\necho "$*" >>"%s/opened"\n' "$tmp" >"$bait/xdg-open"
chmod +x "$bait/xdg-open"
app_path="$bait"

# decode_* HQX OUT: the data fork of HQX into OUT.
decode_hexbin() {
  # hexbin names its output after the Mac name, mangled; an empty folder per
  # file makes the one .data file in it the answer.
  local work; work="$(mktemp -d "$tmp/hexbin.XXXX")"
  (cd "$work" && hexbin -d "$1") || return 1
  local out=("$work"/*.data)
  [[ ${#out[@]} -eq 1 && -f "${out[0]}" ]] || return 1
  cp "${out[0]}" "$2"
}
decode_perl() {
  perl -MConvert::BinHex -e '
    open(my $in, "<", $ARGV[0]) or die "$ARGV[0]: $!\n";
    my $hqx = Convert::BinHex->open(FH => $in) or die "not BinHex\n";
    $hqx->read_header;
    binmode STDOUT;
    while (defined(my $data = $hqx->read_data)) { print $data }
  ' "$1" >"$2" 2>/dev/null
}
decode_uudeview() {
  local work; work="$(mktemp -d "$tmp/uudeview.XXXX")"
  uudeview -i -o -q -p "$work/" "$1" >/dev/null 2>&1 || return 1
  local out=("$work"/*)
  [[ ${#out[@]} -eq 1 && -f "${out[0]}" ]] || return 1
  cp "${out[0]}" "$2"
}

# decodes_to ORIGINAL HQX: fails unless each of the three decoders turns HQX
# back into ORIGINAL.
decodes_to() {
  local decoder
  for decoder in hexbin perl uudeview; do
    "decode_$decoder" "$2" "$tmp/decoded" || fail "$decoder could not decode \"$2\""
    cmp "$1" "$tmp/decoded" || fail "$decoder: \"$2\" does not decode to \"$1\""
  done
}

start_app

# --- Files dragged from another program onto the picture button -----------------
# Our drag source offers the files as a text/uri-list (drag_onto_picture).
# Each file is encoded beside itself. One name carries blanks, both quotation marks, a
# dollar sign, a command substitution and backquotes, in a folder whose name
# has blanks too.
drops="$tmp/dropped files"
mkdir -p "$drops"
hostile="it's \"\$(x)\" \`y\`.txt"
printf 'dropped\r\nfrom another program\n' >"$drops/$hostile"
head -c 5000 /dev/urandom >"$drops/plain.bin"
dropped=("$hostile" plain.bin)

# listing FOLDER: its entries, one a line, sorted.
listing() { find "$1" -mindepth 1 -maxdepth 1 -printf '%f\n' | LC_ALL=C sort; }
expected_drop_listing="$(for name in "${dropped[@]}"; do echo "$name"; echo "$name.hqx"; done | LC_ALL=C sort)"
drop_done() { [[ "$(listing "$drops")" == "$expected_drop_listing" ]]; }
# chimed: Qt Multimedia has spoken about a player. With no audio device the
# chime is heard only as its warnings, and no sound plays before the first
# encoding, so the drop is the first to start one.
chimed() { grep -q '^qt\.multimedia\.player:' "$tmp/app.log"; }
! chimed || fail "a sound played before anything was encoded"

paths=()
for name in "${dropped[@]}"; do paths+=("$drops/$name"); done
drag_onto_picture "$drag_source" "${paths[@]}"
say "dragged ${#dropped[@]} files from the drag source onto the picture button and released"
poll 30 drop_done || fail "after the drop $drops holds: $(listing "$drops" | tr '\n' '|')$(
  [[ -e "$tmp/injected" ]] && echo "; commands injected: $(tr '\n' '|' <"$tmp/injected")")"
poll 10 source_said 'drag ended copy' || fail "the drag source saw no completed copy: $(tr '\n' '|' <"$tmp/source.log")"
for name in "${dropped[@]}"; do
  decodes_to "$drops/$name" "$drops/$name.hqx"
done
say "each dropped file has its .hqx beside it, and hexbin, Convert::BinHex and uudeview decode it to the original"
poll 15 chimed || fail "no completion chime after the drop"
say "the completion chime played (no audio device: its warnings)"
[[ ! -e "$tmp/injected" ]] || fail "a command other than the bundled binhex ran: $(cat "$tmp/injected")"
! grep -q '^binhex:' "$tmp/app.log" || fail "binhex complained: $(grep '^binhex:' "$tmp/app.log")"
say "no command ran but binhex, and binhex reported nothing"
stop_drag_source

# --- Encoding through the dialogs -------------------------------------------
# A name with blanks, both quotation marks and a dollar sign: the command
# goes through /bin/sh, so the quoting has to hold. The files are picked in
# the list, as with the mouse: Qt's file-name field splits typed names on
# every double quote, and its selection follows partly typed names.
odd="it's a \"\$HOME\" test.txt"
desk="$HOME/Desktop"
printf 'first line\r\nsecond line\n' >"$desk/$odd"
head -c 20000 /dev/urandom >"$desk/b.bin"
# Runs of 0x90, the run-length marker, and of zeros exercise the encoder's
# run-length stage.
python3 -c 'import sys; sys.stdout.buffer.write(b"\x90" * 300 + b"\0" * 1000 + b"\x90\x90x" * 50)' >"$desk/c"
dest="$tmp/out folder"
mkdir -p "$dest"

# hqx_in FOLDER: the .hqx files in FOLDER, one a line, sorted.
hqx_in() { find "$1" -maxdepth 1 -name '*.hqx' -printf '%f\n' | sort; }
count_hqx() { [[ "$(hqx_in "$1" | wc -l)" -ge "$2" ]]; }

open_file_dialog click
# Every file on the Desktop: the three.
choose_all_files
say "selected the three files, Return"
choose_folder "$dest"
poll 30 count_hqx "$dest" 3 || fail "expected 3 .hqx files in $dest, found: $(hqx_in "$dest" | tr '\n' '|')"
say "three .hqx files in the destination: $(hqx_in "$dest" | tr '\n' '|')"

for name in "$odd" b.bin c; do
  [[ -f "$dest/$name.hqx" ]] || fail "no \"$name.hqx\" in the destination"
  decodes_to "$desk/$name" "$dest/$name.hqx"
  say "\"$name.hqx\" decodes to the original with hexbin, Convert::BinHex and uudeview"
done

# --- Names typed into the file dialog -------------------------------------------
# Several names are typed quoted, as the field wants them. Qt's completer can
# leave the list's selection short of them meanwhile; both must be encoded.
typed="$tmp/typed folder"
mkdir -p "$typed"
open_file_dialog ctrl+e
xdotool type --delay 15 '"b.bin" "c"'
xdotool key Return
say "typed \"b.bin\" \"c\", Return"
choose_folder "$typed"
poll 30 count_hqx "$typed" 2 || fail "expected 2 .hqx files in $typed, found: $(hqx_in "$typed" | tr '\n' '|')"
[[ "$(hqx_in "$typed" | tr '\n' '|')" == "b.bin.hqx|c.hqx|" ]] || fail "typed names gave $(hqx_in "$typed" | tr '\n' '|')"
cmp -s "$typed/b.bin.hqx" "$dest/b.bin.hqx" && cmp -s "$typed/c.hqx" "$dest/c.hqx" || fail "the typed names' .hqx differ from the first batch's"
say "both typed names were encoded"

# --- Help > About Tamzel -----------------------------------------------------
help_menu Up Return
poll 10 has_about || fail "no second 283x350 window after Help > About Tamzel: $(other_windows | tr '\n' '|')"
say "Help > About Tamzel opened a second top-level window, 283x350 ($(other_windows | awk '/ 283x350$/{print $1}'))"

# Closed by its close box, the About window goes; About Tamzel opens a new one.
python3 "$here/close_window.py" "$(about_window)"
poll 10 no_about || fail "the About window did not close"
help_menu Up Return
poll 10 has_about || fail "About Tamzel opened no window after the first was closed"
say "closed, and About Tamzel opened it again"

# Help > Contact Developer hands the mailto: URL to the desktop's opener.
help_menu Up Up Return
poll 10 test -s "$tmp/opened" || fail "Contact Developer opened nothing"
[[ "$(cat "$tmp/opened")" == "mailto:hello@tamzel.example" ]] || fail "Contact Developer opened \"$(cat "$tmp/opened")\""
say "Contact Developer handed the desktop $(cat "$tmp/opened")"

# --- File > Quit ---------------------------------------------------------------
xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers ctrl+q
status=0; wait_exit 15 || status=$?
[[ "$status" -eq 0 ]] || fail "Ctrl+Q: tamzel exited with status $status"
say "Ctrl+Q quit with status 0"

# --- Closing the main window -----------------------------------------------------
# Without a window manager nothing sends WM_DELETE_WINDOW, and xdotool's
# windowclose destroys the window behind the toolkit's back; close_window.py
# sends the message the way a window manager's close box does.
start_app
python3 "$here/close_window.py" "$main"
status=0; wait_exit 15 || status=$?
[[ "$status" -eq 0 ]] || fail "closing the main window: tamzel exited with status $status"
say "closing the main window quit with status 0"
say "PASS"
