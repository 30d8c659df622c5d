#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tarvelo --help and --version, and tarvelo-cli --version, as a packager's or a user's shell runs them:
# they answer with status 0 without a display (and without trying the one named in DISPLAY), say the
# project's version, and create no file in the user's folders.
#
#   tarvelo_options_test.sh TARVELO TARVELO-CLI VERSION
set -uo pipefail
tarvelo=$1 cli=$2 version=$3
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

root=$(mktemp -d)
errors=$(mktemp)
trap 'rm -rf "$root" "$errors"' EXIT
mkdir -p "$root/home" "$root/runtime"
chmod 700 "$root/runtime"
before=$(cd "$root" && find . | sort)
# The user's folders all point into the empty folder.
folders=(HOME="$root/home" XDG_CONFIG_HOME="$root/home/.config" XDG_DATA_HOME="$root/home/.local/share"
         XDG_CACHE_HOME="$root/home/.cache" XDG_STATE_HOME="$root/home/.local/state" XDG_RUNTIME_DIR="$root/runtime")

# Without a display, and with DISPLAY naming one that does not exist.
for display in unset :97; do
  if [ "$display" = unset ]; then user=(env -u WAYLAND_DISPLAY -u DISPLAY "${folders[@]}")
  else user=(env -u WAYLAND_DISPLAY DISPLAY="$display" "${folders[@]}"); fi
  out=$("${user[@]}" "$tarvelo" --version 2>"$errors"); status=$?
  [ "$status" -eq 0 ] || fail "tarvelo --version (display $display) exited $status: $(cat "$errors")"
  [ "$out" = "tarvelo $version" ] || fail "tarvelo --version (display $display) printed '$out'"

  out=$("${user[@]}" "$tarvelo" --help 2>"$errors"); status=$?
  [ "$status" -eq 0 ] || fail "tarvelo --help (display $display) exited $status: $(cat "$errors")"
  for option in "Usage: tarvelo" "-h, --help" "--version"; do
    grep -qF -- "$option" <<<"$out" || fail "tarvelo --help does not list '$option': $out"
  done
  [ -s "$errors" ] && fail "tarvelo --help wrote to stderr: $(cat "$errors")"
done

out=$("${user[@]}" "$cli" --version); status=$?
[ "$status" -eq 0 ] && [ "$out" = "tarvelo-cli $version" ] || fail "tarvelo-cli --version: status $status, '$out'"

after=$(cd "$root" && find . | sort)
[ "$before" = "$after" ] || fail "files appeared: $(comm -13 <(echo "$before") <(echo "$after") | tr '\n' ' ')"

[ "$failures" -eq 0 ] && echo "passed" || exit 1
