#!/bin/sh
# Retakes the pictures of this folder: builds station-screenshots and runs it
# under a virtual X server with a compositing manager (xcompmgr), so that the
# splash's transparent pixels show the desktop behind it.
set -eu
cd "$(dirname "$0")/../.."
build=${BUILD:-build}
cmake --build "$build" --target station-screenshots
out=docs/screenshots
run() {
    xvfb-run -a -s "-screen 0 1280x800x24" sh -c "xcompmgr -n & sleep 1; $build/bin/station-screenshots $*; kill \$!"
}
run splash "$out/splash.png"
run login-ar "$out/login-ar.png"
run login-fr "$out/login-fr.png"
