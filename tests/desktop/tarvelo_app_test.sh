#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The application as a person starts it, on the test session's display: the first start opens the
# welcome window, a second start hands over to the running one and exits, a start with the welcome
# finished and the icon hidden opens the settings, and SIGTERM ends it cleanly. Installed from BUILD
# into an empty prefix, it rewrites an autostart entry that an older run from the build folder left, to
# name the installed program and its icon. The test session has no tray: a later start with the icon
# shown opens nothing and tells once, by notification, how to reach the settings. With a Russian locale
# the windows speak Russian. Without a display it says so and fails.
#
#   tarvelo_app_test.sh TARVELO BUILD
set -uo pipefail
tarvelo=$1 build=$2
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

if [ -z "${DISPLAY:-}" ]; then
  if [ "${TARVELO_REQUIRE_DESKTOP:-0}" = 1 ]; then echo "FAIL: no display" >&2; exit 1; fi
  echo "skipped: no display"; exit 0
fi

home=$(mktemp -d)
runtime=$(mktemp -d)
chmod 700 "$runtime"
prefix=$(mktemp -d)
trap 'kill "${app:-}" 2>/dev/null; rm -rf "$home" "$runtime" "$prefix"' EXIT
# A command prefix rather than a function, so that `$!` is Tarvelo's own process.
user=(env HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$runtime")

# Waits up to five seconds for a top-level window titled $1.
window_appears() {
  for _ in $(seq 1 50); do
    if xwininfo -root -tree 2>/dev/null | grep -q "\"$1\""; then return 0; fi
    sleep 0.1
  done
  return 1
}

# Without a desktop it refuses plainly.
message=$(env -u DISPLAY -u WAYLAND_DISPLAY "$tarvelo" 2>&1) && fail "started without a display"
grep -q "no desktop session" <<<"$message" || fail "unclear message without a display: $message"
grep -q "scripts/" <<<"$message" && fail "the message speaks of the source tree: $message"

# First start: the welcome window.
"${user[@]}" "$tarvelo" & app=$!
window_appears "Welcome to Tarvelo" || fail "the welcome window did not open"

# A second start hands over to the running one and leaves at once. (The welcome window is visible, so
# the running one opens nothing more.)
if ! "${user[@]}" timeout 10 "$tarvelo"; then fail "the second start did not hand over and exit"; fi
kill -0 "$app" 2>/dev/null || fail "the running instance ended when started again"

kill -TERM "$app"
wait "$app"; status=$?
[ "$status" -eq 0 ] || fail "SIGTERM ended it with status $status"
[ -S "$runtime/dev.brinmoor.Tarvelo.socket" ] && fail "the instance socket was left behind"

# Welcome finished and the icon hidden: the settings window is the way in.
mkdir -p "$home/.config/tarvelo"
cat >"$home/.config/tarvelo/defaults.json" <<'JSON'
{"values": {"settings.onboarding": {"kind": "boolean", "value": true},
            "settings.menuIcon": {"kind": "boolean", "value": false}}}
JSON
"${user[@]}" "$tarvelo" & app=$!
window_appears "Tarvelo Settings" || fail "a hidden icon's launch did not open the settings"
kill -TERM "$app"; wait "$app"

# The installed program, found on the search path, with "Launch at login" on from a run of the build.
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install into $prefix"
autostart=$home/.config/autostart
mkdir -p "$autostart"
printf '[Desktop Entry]\nType=Application\nExec="%s"\nIcon=tarvelo\n' "$tarvelo" >"$autostart/tarvelo.desktop"
"${user[@]}" PATH="$prefix/bin:$PATH" "$prefix/bin/tarvelo" & app=$!
window_appears "Tarvelo Settings" || fail "the installed program did not start"
entry=$autostart/dev.brinmoor.Tarvelo.desktop
grep -qx "Exec=tarvelo" "$entry" || fail "the autostart entry does not start the installed program: $(cat "$entry")"
grep -qx "Icon=dev.brinmoor.Tarvelo" "$entry" || fail "the autostart entry does not name the installed icon"
[ -e "$autostart/tarvelo.desktop" ] && fail "the entry pointing at the build folder was left"
kill -TERM "$app"; wait "$app"

# Welcome finished and the icon shown, but no tray on this session: nothing opens, and the one notice
# is remembered as given.
cat >"$home/.config/tarvelo/defaults.json" <<'JSON'
{"values": {"settings.onboarding": {"kind": "boolean", "value": true}}}
JSON
"${user[@]}" "$tarvelo" & app=$!
for _ in $(seq 1 50); do
  grep -q '"settings.noTrayNotice"' "$home/.config/tarvelo/defaults.json" && break
  sleep 0.1
done
grep -q '"settings.noTrayNotice"' "$home/.config/tarvelo/defaults.json" || fail "no notice without a tray"
xwininfo -root -tree 2>/dev/null | grep -q '"Tarvelo Settings"' && fail "a start without a tray opened the settings"
kill -TERM "$app"; wait "$app"

# The desktop's language: a Russian session gets the Russian welcome.
rm -f "$home/.config/tarvelo/defaults.json"
"${user[@]}" LANGUAGE=ru LANG=C.UTF-8 "$tarvelo" & app=$!
window_appears "Добро пожаловать в Tarvelo" || fail "a Russian session did not get the Russian welcome"
kill -TERM "$app"; wait "$app"

[ "$failures" -eq 0 ] && echo "passed" || exit 1
