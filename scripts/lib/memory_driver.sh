#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The session half of scripts/memory: BUILD_DIR WORDS. Runs inside scripts/desktop-session.
set -euo pipefail
build=$1
words=$2

home=$(mktemp -d /tmp/tarvelo-memory.XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$home"
}
trap cleanup EXIT
# A user who finished onboarding: Tarvelo starts in the tray with no window open.
export HOME=$home XDG_CONFIG_HOME=$home/.config
mkdir -p "$XDG_CONFIG_HOME/tarvelo"
printf '{"format":1,"values":{"settings.onboarding":{"kind":"boolean","value":true}}}\n' \
  >"$XDG_CONFIG_HOME/tarvelo/defaults.json"

# The resident size and its two halves: the heap and other private memory (RssAnon), and the pages of
# mapped files (RssFile: code, read-only data, fonts), which are clean copies of the page cache.
memory() {
  awk '/^VmRSS:/ { total = $2 } /^RssAnon:/ { anon = $2 } /^RssFile:/ { file = $2 }
       END { printf "%5.1f   (anonymous %4.1f, files %4.1f)", total / 1024, anon / 1024, file / 1024 }' \
    "/proc/$tarvelo/status"
}

trayer --edge bottom --align right --widthtype request >/dev/null 2>&1 &
pids+=($!)
# The field ends when its input closes; the pipe stays open as long as this script.
mkfifo "$home/field-in"
"$build/tests/desktop/apps/gtk_text_field" <"$home/field-in" >"$home/field-out" 2>/dev/null &
pids+=($!)
exec 3>"$home/field-in"
for _ in $(seq 1 100); do grep -q ready "$home/field-out" 2>/dev/null && break; sleep 0.1; done

"$build/src/tarvelo" >"$home/tarvelo.log" 2>&1 &
tarvelo=$!
pids+=("$tarvelo")
sleep 4
before=$(memory)

# 100 keys at about eight a second: sentences with words typed on the wrong layout in both directions.
type_words() {
  xdotool type --delay "$1" "$2"
}
type_words 125 "ghbdtn rfr ltkf z gbie ntrcn b ghjcnj руддщ world ;tkfy dctv ecgt[jd d hf,jnt cjdctv "
sleep 3
after_keys=$(memory)

# A second start hands over to the running instance, which opens its settings; then the window is closed
# as its close button would.
"$build/src/tarvelo" >/dev/null 2>&1 || true
settings=$(xdotool search --sync --onlyvisible --name "Tarvelo Settings" | head -n 1)
sleep 2
with_settings=$(memory)
"$(dirname "${BASH_SOURCE[0]}")/close_window.py" "$settings"
sleep 3
after_settings=$(memory)

echo "Resident memory of tarvelo (VmRSS, MB):"
echo "  before typing:                      $before"
echo "  after 100 keys:                     $after_keys"
echo "  with the settings window open:      $with_settings"
echo "  after opening and closing Settings: $after_settings"

if [ "$words" -gt 0 ]; then
  echo "Typing $words more words (RSS in MB after every hundred):"
  field=$(xdotool search --onlyvisible --class org.tarvelo.TestGtkField | head -n 1 || true)
  [ -n "$field" ] && xdotool windowfocus --sync "$field" 2>/dev/null || true
  sentence=(ghbdtn rfr ltkf dctv ghbdtn hello world руддщ ntrcn djn)
  for ((typed = 1; typed <= words; typed++)); do
    # A pause at each space, so that the correction lands before the next word begins.
    xdotool type --delay 60 "${sentence[typed % ${#sentence[@]}]} "
    sleep 0.15
    if ((typed % 100 == 0)); then
      echo dump >&3
      sleep 0.3
      printf '  %6d words  %s   field ends: %s\n' "$typed" "$(memory)" "$(tail -n 1 "$home/field-out" | tail -c 60)"
      # An empty field again, so that the field's own text does not grow without end.
      echo "set |" >&3
    fi
  done
fi
