#!/usr/bin/env bash
# Installs the build into a temporary prefix and drives the installed program
# on its own Xvfb where a user meets its manners rather than its encoding:
# - the picture button looks the same at rest before and after the pointer
#   has been over it, the window having opened under a pointer that waits;
# - a file dragged from another program while a batch of several files runs
#   (a slow binhex where the program takes its bundled one from) is encoded,
#   and its command comes after the batch's last;
# - the dialogs keep their titles exactly, the About window's reads empty or
#   "Tamzel", never the executable's name;
# - Contact Developer on a desktop where nothing opens mailto: shows a message;
# - Ctrl+Q with the About window active ends the program with status 0.
#
# Usage: tried_as_a_user.sh BUILD_DIR DRAG_SOURCE
#   DRAG_SOURCE is the test's own drag-source program (e2e_drag_source).
set -euo pipefail

usage="usage: tried_as_a_user.sh BUILD_DIR DRAG_SOURCE"
build="${1:?$usage}"
drag_source="${2:?$usage}"
e2e_tag="e2e-user"
# shellcheck source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

require_tools Xvfb xdotool xwininfo xprop xwd cmp
[[ -x "$drag_source" ]] || fail "no drag-source program at $drag_source"
e2e_install_and_start_xvfb "$build"

# The bundled binhex, slowed down: it notes each command line it was given,
# takes half a second, then runs the real tool, so that a batch lasts long
# enough to drop a file on the picture while it runs.
tools="$prefix/libexec/tamzel"
mkdir -p "$tmp/real"
mv "$tools/binhex" "$tmp/real/binhex"
cat >"$tools/binhex" <<EOF
#!/bin/sh
printf '%s\n' "\$*" >>"$tmp/commands"
sleep 0.5
exec "$tmp/real/binhex" "\$@"
EOF
chmod +x "$tools/binhex"
commands() { [[ -f "$tmp/commands" ]] && wc -l <"$tmp/commands" || echo 0; }

# The desktop's opener on a desktop with no mail program: it notes what it
# was asked to open and exits 3, as xdg-open does when no tool takes the URL.
bait="$tmp/bait"
mkdir -p "$bait"
printf '#!/bin/sh\necho "$*" >>"%s/asked"\nexit 3\n' "$tmp" >"$bait/xdg-open"
chmod +x "$bait/xdg-open"
app_path="$bait"

# --- The picture at rest ----------------------------------------------------------
# shot FILE: a picture of the main window, once painting has settled (two in
# a row alike).
shot() {
  xwd -silent -id "$main" >"$1"
  local i
  for (( i = 0; i < 50; i++ )); do
    xwd -silent -id "$main" >"$tmp/again.xwd"
    cmp -s "$1" "$tmp/again.xwd" && return 0
    mv "$tmp/again.xwd" "$1"
    sleep 0.1
  done
  fail "the main window never stopped changing"
}
# The main window opens in the middle of the screen, where the pointer waits:
# over the picture, though it has not moved.
xdotool mousemove 640 512
start_app
geometry "$main"
(( gx + 200 <= 640 && 640 < gx + 400 && gy + 19 + 83 <= 512 && 512 < gy + 19 + 83 + 234 )) ||
  fail "the pointer at 640,512 is not over the picture at $gx,$gy"
shot "$tmp/rest-before.xwd"
for (( step = 0; step <= 8; step++ )); do
  xdotool mousemove "$(( gx + 210 + step * 20 ))" "$(( gy + 19 + 90 + step * 25 ))"
done
xdotool mousemove 5 5
at_rest_again() { shot "$tmp/rest-after.xwd"; cmp -s "$tmp/rest-before.xwd" "$tmp/rest-after.xwd"; }
poll 5 at_rest_again || fail "the picture at rest looks different after the pointer has been over it"
say "the picture at rest is the same, pixel for pixel, before and after the pointer has been over it"

# --- A drop while a batch runs ----------------------------------------------------
batch=12
desk="$HOME/Desktop"
for (( i = 1; i <= batch; i++ )); do
  printf 'batch file %d\n' "$i" >"$desk/b$i"
done
dest="$tmp/out"
drops="$tmp/drops"
mkdir -p "$dest" "$drops"
printf 'dropped while the batch ran\n' >"$drops/dropped.txt"

open_file_dialog click
[[ "$(xdotool getwindowname "$dlg")" == "Choose a File" ]] ||
  fail "the file dialog is titled \"$(xdotool getwindowname "$dlg")\""
choose_all_files
poll 15 visible_named '^Choose a Folder$' >/dev/null || fail "no folder dialog after the files were chosen"
folder_title="$(xdotool getwindowname "$(visible_named '^Choose a Folder$' | head -n1)")"
[[ "$folder_title" == "Choose a Folder" ]] || fail "the folder dialog is titled \"$folder_title\""
choose_folder "$dest"
say "the two dialogs are titled \"Choose a File\" and \"Choose a Folder\", nothing added"
poll 15 test -s "$tmp/commands" || fail "the batch issued no command"
drag_onto_picture "$drag_source" "$drops/dropped.txt"
poll 10 source_said 'drag ended copy' || fail "the drag source saw no completed copy: $(tr '\n' '|' <"$tmp/source.log")"
at_drop="$(commands)"
(( at_drop < batch )) || fail "the drop was answered only after the batch's $at_drop commands: it proves nothing"
say "a file was dropped on the picture after the batch's command $at_drop of $batch"
encoded() { find "$dest" -name '*.hqx' | wc -l; }
all_done() { [[ "$(commands)" -ge $(( batch + 1 )) && "$(encoded)" -eq "$batch" && -s "$drops/dropped.txt.hqx" ]]; }
poll 30 all_done || fail "after the batch: $(commands) commands, $(encoded) files encoded, $(ls "$drops" | tr '\n' '|')"
stop_drag_source
head -n "$batch" "$tmp/commands" | grep -c -- ' -C ' | grep -qx "$batch" ||
  fail "the batch's commands are not the first $batch: $(tr '\n' '|' <"$tmp/commands")"
[[ "$(tail -n1 "$tmp/commands")" == "encode $drops/dropped.txt" && "$(commands)" -eq $(( batch + 1 )) ]] ||
  fail "the dropped file's command is not the last: $(tr '\n' '|' <"$tmp/commands")"
say "the dropped file was encoded, its command after the batch's $batch"

# --- The About window's title -------------------------------------------------------
help_menu Up Return
poll 10 has_about || fail "no 283x350 window after Help > About Tamzel: $(other_windows | tr '\n' '|')"
about="$(about_window)"
title="$(xprop -id "$about" _NET_WM_NAME)"
[[ "$title" == '_NET_WM_NAME(UTF8_STRING) = "Tamzel"' || "$title" == '_NET_WM_NAME(UTF8_STRING) = ""' ]] ||
  fail "the About window's title: $title"
name="$(xdotool getwindowname "$about")"
[[ "$name" == Tamzel || -z "$name" ]] || fail "the About window is named \"$name\""
say "the About window's title reads \"$name\""

# --- Contact Developer with no mail program ----------------------------------------
# A message box: a window of the program besides the main and About windows.
message_box() { other_windows | awk '!/ 283x350$/{print $1; exit}'; }
has_message() { [[ -n "$(message_box)" && "$(xdotool getwindowname "$(message_box)")" == Tamzel ]]; }
help_menu Up Up Return
poll 10 test -s "$tmp/asked" || fail "Contact Developer asked the desktop to open nothing"
poll 10 has_message || fail "no message after the desktop could not open $(cat "$tmp/asked"): $(other_windows | tr '\n' '|')"
say "the desktop could not open $(cat "$tmp/asked"), and a message titled Tamzel told the user"
box="$(message_box)"
xdotool windowfocus --sync "$box"
xdotool key Return
no_message() { [[ -z "$(message_box)" ]]; }
poll 10 no_message || fail "Return did not close the message"

# --- Ctrl+Q with the About window active --------------------------------------------
xdotool windowfocus --sync "$about"
[[ "$(xdotool getwindowfocus)" == "$about" ]] || fail "the About window did not take the focus"
xdotool key --clearmodifiers ctrl+q
status=0; wait_exit 15 || status=$?
[[ "$status" -eq 0 ]] || fail "Ctrl+Q in the About window: tamzel exited with status $status"
say "Ctrl+Q in the About window quit with status 0"
say "PASS"
