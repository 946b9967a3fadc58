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
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
tmp="$(mktemp -d)"
xvfb_pid="" app_pid="" source_pid=""

cleanup() {
  [[ -n "$source_pid" ]] && kill "$source_pid" 2>/dev/null || true
  [[ -n "$app_pid" ]] && kill "$app_pid" 2>/dev/null || true
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT

say() { echo "e2e: $*"; }
fail() { echo "e2e: FAIL: $*" >&2; [[ -f "$tmp/app.log" ]] && sed 's/^/  tamzel: /' "$tmp/app.log" >&2; exit 1; }

# poll SECONDS COMMAND...: true as soon as COMMAND succeeds.
poll() {
  local limit=$(( $1 * 10 )); shift
  for (( i = 0; i < limit; i++ )); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

for tool in Xvfb xdotool xwininfo hexbin uudeview perl python3; do
  command -v "$tool" >/dev/null || fail "$tool is missing: run scripts/setup"
done
perl -MConvert::BinHex -e 1 2>/dev/null || fail "Convert::BinHex is missing: run scripts/setup"
[[ -x "$drag_source" ]] || fail "no drag-source program at $drag_source"

say "installing $build into a temporary prefix"
cmake --install "$build" --prefix "$tmp/prefix" >/dev/null
prefix="$tmp/prefix"
[[ -x "$prefix/bin/tamzel" && -x "$prefix/libexec/tamzel/binhex" ]] ||
  fail "the install lacks bin/tamzel or libexec/tamzel/binhex"

# A fresh home and runtime folder, so nothing of the machine's own session
# (settings, a real Desktop) leaks into what the dialogs show.
export HOME="$tmp/home" XDG_RUNTIME_DIR="$tmp/runtime"
mkdir -p "$HOME/Desktop" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME SESSION_MANAGER WAYLAND_DISPLAY PULSE_SERVER
export QT_QPA_PLATFORM=xcb

# -displayfd lets the server pick a free display itself: no race with other
# servers on a shared machine. -noreset keeps it from resetting when its last
# client goes, which refuses the next program to connect while it does.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb_pid=$!
poll 15 test -s "$tmp/display" || fail "Xvfb did not start: $(cat "$tmp/xvfb.log")"
export DISPLAY=":$(head -n1 "$tmp/display")"
say "Xvfb on $DISPLAY"

# visible_named REGEX: the ids of mapped windows whose title matches. xdotool
# matches titles without regard to case, and Qt's hidden leader window is
# called "tamzel", so only mapped windows count.
visible_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null; }
gone() { ! kill -0 "$1" 2>/dev/null; }

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

start_app() {
  PATH="$bait:$PATH" "$prefix/bin/tamzel" >>"$tmp/app.log" 2>&1 &
  app_pid=$!
  poll 20 visible_named '^Tamzel$' >/dev/null || fail "the main window did not appear"
  main="$(visible_named '^Tamzel$' | head -n1)"
  say "main window $main: $(xwininfo -id "$main" | awk '/Width:|Height:/{printf "%s%s ", $1, $2}')"
}

# wait_exit SECONDS: the program's exit status, or a failure when it is still running.
wait_exit() {
  poll "$1" gone "$app_pid" || fail "tamzel did not quit"
  local status=0
  wait "$app_pid" || status=$?
  app_pid=""
  return "$status"
}

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
# Our drag source offers the files as a text/uri-list; the mouse is pressed on
# it, carried over to the picture button in steps, so the XDND position
# messages flow as they do under a hand, and released there. Each file is
# encoded beside itself. One name carries blanks, both quotation marks, a
# dollar sign, a command substitution and backquotes, in a folder whose name
# has blanks too.
drops="$tmp/dropped files"
mkdir -p "$drops"
hostile="it's \"\$(x)\" \`y\`.txt"
printf 'dropped\r\nfrom another program\n' >"$drops/$hostile"
head -c 5000 /dev/urandom >"$drops/plain.bin"
dropped=("$hostile" plain.bin)

# geometry WINDOW: sets gx gy gw gh to the window's place on the screen and size.
geometry() {
  local key value
  while IFS='=' read -r key value; do
    case "$key" in X) gx=$value ;; Y) gy=$value ;; WIDTH) gw=$value ;; HEIGHT) gh=$value ;; esac
  done < <(xdotool getwindowgeometry --shell "$1")
}
source_said() { grep -qx "$1" "$tmp/source.log"; }
# last_action: the drop target's latest answer, as the drag source saw it.
last_action() { sed -n 's/^action //p' "$tmp/source.log" | tail -n1; }
# accepted X Y: true once the target accepts the drop at X,Y. Qt's drag source
# sends no new position until the last one is answered, so a position reached
# meanwhile is never sent; a one-pixel wiggle, as a hand makes, sends it.
wiggle=0
accepted() {
  [[ "$(last_action)" == copy ]] && return 0
  wiggle=$(( 1 - wiggle ))
  xdotool mousemove "$(( $1 + wiggle ))" "$2"
  return 1
}
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
"$drag_source" "${paths[@]}" >"$tmp/source.log" 2>"$tmp/source.err" &
source_pid=$!
poll 20 visible_named '^Drag source$' >/dev/null || fail "the drag source's window did not appear: $(cat "$tmp/source.err")"
src="$(visible_named '^Drag source$' | head -n1)"
geometry "$src"
sx=$(( gx + gw / 2 )) sy=$(( gy + gh / 2 ))
# The picture button is 200x234 at (200,83) under the 19-pixel menu bar; its middle:
geometry "$main"
tx=$(( gx + 300 )) ty=$(( gy + 19 + 83 + 117 ))
xdotool mousemove "$sx" "$sy" mousedown 1
poll 10 source_said 'drag started' || fail "pressing the mouse on the drag source started no drag"
for (( step = 1; step <= 12; step++ )); do
  xdotool mousemove "$(( sx + (tx - sx) * step / 12 ))" "$(( sy + (ty - sy) * step / 12 ))"
done
poll 10 accepted "$tx" "$ty" || fail "the picture button did not accept the drop (the drag source saw: $(tr '\n' '|' <"$tmp/source.log"))"
xdotool mouseup 1
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
kill "$source_pid" 2>/dev/null || true
wait "$source_pid" 2>/dev/null || true
source_pid=""

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

# open_file_dialog click|ctrl+e: a click on the picture, or Ctrl+E, in the
# main window; sets dlg to the file dialog.
open_file_dialog() {
  xdotool windowfocus --sync "$main"
  if [[ "$1" == click ]]; then
    # The middle of the picture button, under the 19-pixel menu bar.
    xdotool mousemove --window "$main" 300 $(( 19 + 83 + 117 )) click 1
  else
    xdotool key --clearmodifiers ctrl+e
  fi
  poll 15 visible_named '^Choose a File$' >/dev/null || fail "$1 opened no \"Choose a File\" dialog"
  dlg="$(visible_named '^Choose a File$' | head -n1)"
  say "$1 opened \"Choose a File\" ($dlg)"
  xdotool windowfocus --sync "$dlg"
}

# choose_folder FOLDER: types FOLDER into the folder dialog and accepts it.
choose_folder() {
  poll 15 visible_named '^Choose a Folder$' >/dev/null || fail "no \"Choose a Folder\" dialog after the files were chosen"
  local folder; folder="$(visible_named '^Choose a Folder$' | head -n1)"
  say "\"Choose a Folder\" ($folder) opened"
  xdotool windowfocus --sync "$folder"
  xdotool type --delay 15 "$1"
  xdotool key Return
  # Return on a typed folder may only step into it; a second Return then picks it.
  if ! poll 5 bash -c '! xdotool search --onlyvisible --name "^Choose a Folder$" >/dev/null 2>&1'; then
    say "the folder dialog is still open: pressing Return again"
    xdotool windowfocus --sync "$folder" 2>/dev/null || true
    xdotool key Return
  fi
}

# hqx_in FOLDER: the .hqx files in FOLDER, one a line, sorted.
hqx_in() { find "$1" -maxdepth 1 -name '*.hqx' -printf '%f\n' | sort; }
count_hqx() { [[ "$(hqx_in "$1" | wc -l)" -ge "$2" ]]; }

open_file_dialog click
# A click in the file list, Ctrl+A for the three files on the Desktop, then
# Alt+N to the file-name field and Return, which accepts what is selected.
xdotool mousemove --window "$dlg" 300 250 click 1
xdotool key ctrl+a
xdotool key alt+n Return
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
# "Help" has no mnemonic, so the menu is opened with the mouse: the menu bar
# is the window's top strip and Help its third title.
# other_windows: the program's mapped top-level windows besides the main one,
# as "ID WIDTHxHEIGHT". Hidden dialogs stay on the server, so only mapped ones
# count.
other_windows() {
  local w
  for w in $(xdotool search --onlyvisible --class '^tamzel$' 2>/dev/null); do
    [[ "$w" == "$main" ]] && continue
    echo "$w $(xwininfo -id "$w" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')"
  done
}
has_popup() { [[ -n "$(other_windows)" ]]; }
has_about() { other_windows | grep -q ' 283x350$'; }
xdotool mousemove --window "$main" 97 9 click 1
poll 10 has_popup || fail "clicking Help opened no menu"
# The open menu holds the keyboard: Up from no selection picks the last item,
# "About Tamzel", without guessing where its rows are drawn.
xdotool key Up Return
poll 10 has_about || fail "no second 283x350 window after Help > About Tamzel: $(other_windows | tr '\n' '|')"
say "Help > About Tamzel opened a second top-level window, 283x350 ($(other_windows | awk '/ 283x350$/{print $1}'))"

# Closed by its close box, the About window goes; About Tamzel opens a new one.
no_about() { ! has_about; }
has_menu() { other_windows | grep -vq ' 283x350$'; }
python3 "$here/close_window.py" "$(other_windows | awk '/ 283x350$/{print $1; exit}')"
poll 10 no_about || fail "the About window did not close"
xdotool mousemove --window "$main" 97 9 click 1
poll 10 has_popup || fail "clicking Help opened no menu"
xdotool key Up Return
poll 10 has_about || fail "About Tamzel opened no window after the first was closed"
say "closed, and About Tamzel opened it again"

# Help > Contact Developer hands the mailto: URL to the desktop's opener.
xdotool mousemove --window "$main" 97 9 click 1
poll 10 has_menu || fail "clicking Help opened no menu"
xdotool key Up Up Return
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
