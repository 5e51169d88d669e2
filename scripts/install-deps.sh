#!/bin/sh
# Installs, from Debian's package registry, whatever the station, its tests and
# its benchmarks need and this machine lacks. Run as root; does nothing when
# everything is there.
set -eu

packages="
build-essential cmake ninja-build ccache pkg-config
qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
libxcb1-dev libx11-xcb-dev libxkbcommon-dev
firebird-dev libfbclient2 firebird3.0-server-core firebird3.0-utils firebird3.0-server
libasound2-dev alsa-utils
cups cups-client cups-bsd printer-driver-cups-pdf
espeak-ng sox
fonts-crosextra-carlito fonts-dejavu-core fonts-liberation fonts-noto-core
xvfb xauth imagemagick poppler-utils
xcompmgr
clang libclang-rt-14-dev
dpkg-dev file desktop-file-utils
"

missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

export DEBIAN_FRONTEND=noninteractive
apt-get update
# shellcheck disable=SC2086
apt-get install -y --no-install-recommends $missing
