# What the end-to-end scripts share, sourced by each of them: a temporary
# folder cleaned up at the end, polling, installing the build into a private
# prefix, a fresh session on a private Xvfb, starting and ending the program,
# its windows and menus, the two dialogs and a drag from the test's own drag
# source. Every wait polls for an outcome; the time limits are only safety nets.
#
# Before sourcing, a script may set e2e_tag (the word its messages start with;
# "e2e" unless set). It calls e2e_install_and_start_xvfb BUILD_DIR, then
# start_app; app_path, when set, is put first on the program's PATH.

e2e_tag="${e2e_tag:-e2e}"
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

say() { echo "$e2e_tag: $*"; }
fail() { echo "$e2e_tag: FAIL: $*" >&2; [[ -f "$tmp/app.log" ]] && sed 's/^/  tamzel: /' "$tmp/app.log" >&2; exit 1; }

# poll SECONDS COMMAND...: true as soon as COMMAND succeeds.
poll() {
  local limit=$(( $1 * 10 )); shift
  for (( i = 0; i < limit; i++ )); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# require_tools TOOL...: fails unless every TOOL is on PATH.
require_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || fail "$tool is missing: run scripts/setup"
  done
}

# e2e_install_and_start_xvfb BUILD_DIR: installs the build into $prefix,
# starts a session of its own and a private Xvfb, whose display it exports.
e2e_install_and_start_xvfb() {
  say "installing $1 into a temporary prefix"
  cmake --install "$1" --prefix "$tmp/prefix" >/dev/null
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
}

# visible_named REGEX: the ids of mapped windows whose title matches. xdotool
# matches titles without regard to case, and Qt's hidden leader window is
# called "tamzel", so only mapped windows count.
visible_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null; }
gone() { ! kill -0 "$1" 2>/dev/null; }

# start_app: starts the installed program and sets main to its main window.
start_app() {
  PATH="${app_path:+$app_path:}$PATH" "$prefix/bin/tamzel" >>"$tmp/app.log" 2>&1 &
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

# geometry WINDOW: sets gx gy gw gh to the window's place on the screen and size.
geometry() {
  local key value
  while IFS='=' read -r key value; do
    case "$key" in X) gx=$value ;; Y) gy=$value ;; WIDTH) gw=$value ;; HEIGHT) gh=$value ;; esac
  done < <(xdotool getwindowgeometry --shell "$1")
}

# The picture button is 200x234 at (200,83) under the 19-pixel menu bar; its
# middle, in the main window's coordinates:
picture_x=300 picture_y=$(( 19 + 83 + 117 ))

# --- Dragging from the test's own drag source -----------------------------------
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

# drag_onto_picture DRAG_SOURCE FILE...: starts the drag source offering the
# files as a text/uri-list; the mouse is pressed on it, carried over to the
# picture button in steps, so the XDND position messages flow as they do
# under a hand, and released there once the button accepts. The drag source
# stays running (source_pid): the target may ask it for the list again.
drag_onto_picture() {
  local drag_source="$1"; shift
  "$drag_source" "$@" >"$tmp/source.log" 2>"$tmp/source.err" &
  source_pid=$!
  poll 20 visible_named '^Drag source$' >/dev/null || fail "the drag source's window did not appear: $(cat "$tmp/source.err")"
  local src sx sy tx ty step
  src="$(visible_named '^Drag source$' | head -n1)"
  geometry "$src"
  sx=$(( gx + gw / 2 )) sy=$(( gy + gh / 2 ))
  geometry "$main"
  tx=$(( gx + picture_x )) ty=$(( gy + picture_y ))
  xdotool mousemove "$sx" "$sy" mousedown 1
  poll 10 source_said 'drag started' || fail "pressing the mouse on the drag source started no drag"
  for (( step = 1; step <= 12; step++ )); do
    xdotool mousemove "$(( sx + (tx - sx) * step / 12 ))" "$(( sy + (ty - sy) * step / 12 ))"
  done
  poll 10 accepted "$tx" "$ty" || fail "the picture button did not accept the drop (the drag source saw: $(tr '\n' '|' <"$tmp/source.log"))"
  xdotool mouseup 1
}

stop_drag_source() {
  kill "$source_pid" 2>/dev/null || true
  wait "$source_pid" 2>/dev/null || true
  source_pid=""
}

# --- The two dialogs ------------------------------------------------------------
# open_file_dialog click|ctrl+e: a click on the picture, or Ctrl+E, in the
# main window; sets dlg to the file dialog.
open_file_dialog() {
  xdotool windowfocus --sync "$main"
  if [[ "$1" == click ]]; then
    xdotool mousemove --window "$main" "$picture_x" "$picture_y" click 1
  else
    xdotool key --clearmodifiers ctrl+e
  fi
  poll 15 visible_named '^Choose a File$' >/dev/null || fail "$1 opened no \"Choose a File\" dialog"
  dlg="$(visible_named '^Choose a File$' | head -n1)"
  say "$1 opened \"Choose a File\" ($dlg)"
  xdotool windowfocus --sync "$dlg"
}

# choose_all_files: in the open file dialog, a click in the file list, Ctrl+A
# for every file in it, then Alt+N to the file-name field and Return, which
# accepts what is selected.
choose_all_files() {
  xdotool mousemove --window "$dlg" 300 250 click 1
  xdotool key ctrl+a
  xdotool key alt+n Return
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

# --- The Help menu and the About window --------------------------------------------
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
no_about() { ! has_about; }
has_menu() { other_windows | grep -vq ' 283x350$'; }
about_window() { other_windows | awk '/ 283x350$/{print $1; exit}'; }

# help_menu KEY...: opens Help and picks an item with the keys given. "Help"
# has no mnemonic, so the menu is opened with the mouse: the menu bar is the
# window's top strip and Help its third title. The open menu holds the
# keyboard: Up from no selection picks the last item, "About Tamzel", Up Up
# the one above it, "Contact Developer", without guessing where rows are drawn.
help_menu() {
  xdotool mousemove --window "$main" 97 9 click 1
  if has_about; then
    poll 10 has_menu || fail "clicking Help opened no menu"
  else
    poll 10 has_popup || fail "clicking Help opened no menu"
  fi
  xdotool key "$@"
}
