#!/bin/sh
# The station on an embedded demo database, with a simulated counter-sale
# system adding orders beside it. On a fresh Debian 12 machine, as root:
#     scripts/demo.sh
# Installs what is missing, builds the release, makes ./demo (a working
# directory with Ch.txt, station.ini and the database demo/station.fdb) and
# starts the station there. counter-sim stops when the station does.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/install-deps.sh

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSTATION_BUILD_TESTS=OFF -DSTATION_BUILD_BENCH=OFF
cmake --build "$build" --target counter-sim kitchen-tool
bin="$root/$build/bin"
# the station itself; without it the demo still shows the board's lines
if ! cmake --build "$build" --target kitchen-station; then
    echo "kitchen-station did not build (see above)."
    rm -f "$bin/kitchen-station"
fi

demo="$root/demo"
mkdir -p "$demo"

# Two processes can share one embedded database file only with their own
# Firebird root whose engine runs as SuperClassic: links to the installed
# files, and a firebird.conf of its own. The character sets of the intl
# module do not load from such a root; the demo schema keeps its texts in
# the character set NONE, which needs none.
firebird="$demo/firebird"
installed=/usr/lib/x86_64-linux-gnu/firebird/3.0
mkdir -p "$firebird"
for entry in "$installed"/*; do
    name=$(basename "$entry")
    [ "$name" = firebird.conf ] && continue
    ln -sfn "$entry" "$firebird/$name"
done
printf 'ServerMode = SuperClassic\n' > "$firebird/firebird.conf"
export FIREBIRD="$firebird"

database="$demo/station.fdb"
if [ ! -f "$database" ]; then
    echo "Making the demo database: 30 past days of orders ..."
    "$bin/counter-sim" "$database" --history-days 30 --lines-per-day 300 --rate 0
fi
# UTF-8 with its byte-order mark: without one the station reads the file in the database's code page
printf '\357\273\277%s\r\nDémo (base intégrée)\r\n' "$database" > "$demo/Ch.txt"
printf '[database]\r\npassword=masterkey\r\ncodepage=windows-1256\r\n' > "$demo/station.ini"

# new orders of today every few seconds, for as long as the station runs
"$bin/counter-sim" "$database" --rate 12 > "$demo/counter-sim.log" 2>&1 &
simulator=$!
stop_simulator() {
    kill "$simulator" 2>/dev/null || true
    wait "$simulator" 2>/dev/null || true
}
trap stop_simulator EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

cd "$demo"
if [ -x "$bin/kitchen-station" ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
    "$bin/kitchen-station"
else
    if [ -x "$bin/kitchen-station" ]; then
        echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): showing the board's lines instead."
    else
        echo "kitchen-station is not built yet: showing the board's lines instead."
    fi
    echo "Orders arrive from counter-sim (see demo/counter-sim.log). Ctrl-C ends the demo."
    while :; do
        printf '\n--- %s: pending lines (NUM_VENTE, QTE, ARTICLE, CLE_ART, TAILLE)\n' "$(date +%T)"
        "$bin/kitchen-tool" pending || true
        sleep 3
    done
fi
