# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that building and testing Tarvelo needs. Sourced by scripts/run and
# scripts/test; safe to run again: packages already installed are left alone.

TARVELO_PACKAGES=(
  cmake ninja-build g++ pkg-config
  libicu-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libenchant-2-dev hunspell-en-us hunspell-ru
  # The Linux desktop backend: X11 with XInput 2, XTest and xkbcommon, AT-SPI over GLib and D-Bus.
  libx11-dev libxi-dev libxtst-dev libxkbcommon-x11-dev libglib2.0-dev libatspi2.0-dev
  # The headless desktop that the desktop tests run in (scripts/desktop-session), and the GTK 3 and
  # Qt 6 text fields they type into.
  xvfb x11-xkb-utils x11-utils dbus dbus-bin dbus-daemon at-spi2-core libatk-bridge2.0-0
  libgtk-3-dev qt6-base-dev qt6-qpa-plugins fonts-dejavu-core
  # The IBus input-method backend, and the daemon and GTK 3 module its test tier types through.
  libibus-1.0-dev ibus ibus-gtk3
  # The fcitx5 module (KDE Plasma's input method), and the fcitx5 its test starts.
  libfcitx5core-dev fcitx5-modules-dev fcitx5
  # The interface's translations: msgfmt compiles Tarvelo's catalogs, and Qt's own catalogs put its
  # dialogs and buttons in the same language.
  gettext qt6-translations-l10n
)

# The Wayland test tier (tests/wayland, scripts/gnome-session): a headless GNOME Shell, which starts
# IBus itself; IBus's GTK 3 and GTK 4 modules; GTK 4 for the GTK 4 field, Qt's Wayland platform for the
# Qt field; gsettings and gdbus to set up and watch the session; setpriv and unshare to run it as an
# unprivileged user in a PID namespace of its own.
TARVELO_WAYLAND_PACKAGES=(
  gnome-shell ibus ibus-gtk3 ibus-gtk4 libgtk-4-dev gir1.2-gtk-4.0 qt6-wayland libglib2.0-bin util-linux
)

# The KDE test tier (tests/kde, scripts/kde-session): a headless KWin, which starts fcitx5 as its input
# method; fcitx5's Wayland input-method front end (fcitx5-modules); the fake-input protocol's description
# and wayland-scanner with the client library to type through it; Qt's Wayland platform for the Qt field
# (GTK 3 and GTK 4 come with the other sets); the bus, gdbus, setpriv and unshare to run the session. The
# fields reach fcitx5 through KWin's text-input, so fcitx5's GTK and Qt modules are not needed. Installed
# without recommends (as everything here): kwin-common recommends plasma-desktop, and with recommends
# these six packages pull in about 2100 packages (6 GB) from nothing instead of about 700 (1.3 GB),
# about 190 (290 MB) beyond what the Wayland tier installs.
TARVELO_KDE_PACKAGES=(
  kwin-wayland fcitx5 fcitx5-modules plasma-wayland-protocols libwayland-dev qt6-wayland
  dbus-daemon libglib2.0-bin util-linux
)

# What the fuzz targets (scripts/fuzz, and scripts/test for a short run) are built with: clang and its
# runtime libraries, which hold libFuzzer and the sanitizers.
TARVELO_FUZZ_PACKAGES=(clang libclang-rt-14-dev)

# What scripts/demo needs beyond the build: a tray host for the status icon, xdotool to type and click
# as a person would, and Python's GObject bindings to press buttons through the accessibility bus and
# take screenshots.
TARVELO_DEMO_PACKAGES=(trayer xdotool python3 python3-gi gir1.2-atspi-2.0 gir1.2-gtk-3.0)

# The real applications the "apps" tests type into (tests/desktop/real_applications_test.cpp): GTK 3
# editors, a GTK 4 one, and a browser. scripts/test-apps also runs chromium, libreoffice-writer with
# libreoffice-gtk3 (its AT-SPI bridge) and thunderbird when they are installed; they are large, so
# nothing installs them by itself.
TARVELO_APPS_PACKAGES=(mousepad gedit gnome-text-editor firefox-esr)

# What scripts/corpora renders the development corpora from: the manual pages, and msgunfmt for the
# message catalogs.
TARVELO_CORPUS_PACKAGES=(manpages manpages-ru man-db groff-base gettext)

# The packages whose Russian message catalogs scripts/corpora reads: everyday messages of the tools
# and libraries a Debian desktop has, in English and in Russian.
TARVELO_CATALOG_PACKAGES=(
  adduser apt bash coreutils diffutils dpkg findutils grep sed tar wget psmisc login man-db
  libc-l10n libglib2.0-data libgtk-3-common gsettings-desktop-schemas
)

# What scripts/accuracy needs beyond the build and scripts/corpora: gnuplot for the plot, and a font
# it can name.
TARVELO_REPORT_PACKAGES=(gnuplot-nox fonts-dejavu-core)

# What scripts/generate-model reads to rebuild data/letter_model.txt; the build itself needs none of
# it, because the generated model is kept in the repository.
TARVELO_MODEL_PACKAGES=(hunspell-tools hunspell-en-us hunspell-ru wamerican)

# What scripts/package needs to compute the package's dependencies (dpkg-shlibdeps), and what
# scripts/check-package validates the installed desktop entry, metainfo and manual pages with.
TARVELO_PACKAGING_PACKAGES=(dpkg-dev file desktop-file-utils appstream groff-base)

tarvelo_missing_packages() {
  local package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      printf '%s\n' "$package"
    fi
  done
}

tarvelo_install_packages() {
  local missing
  mapfile -t missing < <(tarvelo_missing_packages "$@")
  [ "${#missing[@]}" -eq 0 ] && return 0

  echo "Installing missing Debian packages: ${missing[*]}" >&2
  local -a elevate=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
      elevate=(sudo)
    else
      echo "These packages are missing and this user cannot install them. Run as root:" >&2
      echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
      return 1
    fi
  fi
  "${elevate[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${elevate[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
