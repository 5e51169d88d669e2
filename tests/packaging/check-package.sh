#!/bin/sh
# check-package.sh BUILD_DIR SOURCE_DIR
# Makes the packages with cpack, unpacks them with dpkg -x (nothing is
# installed on this machine) and checks their files, the links to the
# programs, the working-directory template, the setup and start commands and
# that the unpacked kitchen-tool runs.
set -eu
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" > "$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log" >&2
    exit 1
}
station_deb=$(ls "$work"/out/kitchen-station_*_amd64.deb)
sim_deb=$(ls "$work"/out/kitchen-station-counter-sim_*_amd64.deb)
echo "packages: $(basename "$station_deb") $(du -k "$station_deb" | cut -f1) KiB," \
     "$(basename "$sim_deb") $(du -k "$sim_deb" | cut -f1) KiB"

# --- what each package holds: exactly these files and links, nothing more
expected_station="
./usr/bin/kitchen-station
./usr/bin/kitchen-station-setup
./usr/bin/kitchen-station-start
./usr/bin/kitchen-tool
./usr/lib/kitchen-station/NC_VELK.i18n
./usr/lib/kitchen-station/kitchen-station
./usr/lib/kitchen-station/kitchen-tool
./usr/share/applications/kitchen-station.desktop
./usr/share/doc/kitchen-station/changelog.gz
./usr/share/doc/kitchen-station/copyright
./usr/share/doc/kitchen-station/install.md
./usr/share/icons/hicolor/128x128/apps/kitchen-station.png
./usr/share/icons/hicolor/256x256/apps/kitchen-station.png
./usr/share/icons/hicolor/32x32/apps/kitchen-station.png
./usr/share/icons/hicolor/48x48/apps/kitchen-station.png
./usr/share/icons/hicolor/64x64/apps/kitchen-station.png
./usr/share/icons/hicolor/scalable/apps/kitchen-station.svg
./usr/share/kitchen-station/kitchen-station-autostart.desktop
./usr/share/man/man1/kitchen-station-setup.1.gz
./usr/share/man/man1/kitchen-station-start.1.gz
./usr/share/man/man1/kitchen-station.1.gz
./usr/share/man/man1/kitchen-tool.1.gz
./usr/share/kitchen-station/template/Ch.txt
./usr/share/kitchen-station/template/Etat/Etiquette_2X4.fr3
./usr/share/kitchen-station/template/Font/README.txt
./usr/share/kitchen-station/template/station.ini
"
expected_sim="
./usr/bin/counter-sim
./usr/share/doc/kitchen-station-counter-sim/changelog.gz
./usr/share/doc/kitchen-station-counter-sim/copyright
./usr/share/man/man1/counter-sim.1.gz
"
check_contents() { # DEB EXPECTED
    printf '%s\n' "$2" | sed '/^$/d' | sort > "$work/expected"
    dpkg-deb --fsys-tarfile "$1" | tar -t | grep -v '/$' | sort > "$work/actual"
    if ! diff -u "$work/expected" "$work/actual" > "$work/diff"; then
        fail "$(basename "$1") holds other files than expected:"
        cat "$work/diff" >&2
    fi
}
check_contents "$station_deb" "$expected_station"
check_contents "$sim_deb" "$expected_sim"

# --- control data: the dependencies the programs load at run time
depends=$(dpkg-deb -f "$station_deb" Depends)
for package in libfbclient2 libcups2 libasound2 libqt6widgets6 libqt6printsupport6 libqt6svg6; do
    case ", $depends," in
    *", $package"[\ ,]*) ;;
    *) fail "kitchen-station does not depend on $package (Depends: $depends)" ;;
    esac
done
case "$(dpkg-deb -f "$station_deb" Recommends)" in
*firebird3.0-server-core*) ;;
*) fail "kitchen-station does not recommend the embedded engine" ;;
esac
dpkg-deb --ctrl-tarfile "$station_deb" | tar -x -O ./postrm > "$work/postrm" \
    || fail "kitchen-station has no postrm"
grep -q 'rm -rf /var/lib/kitchen-station' "$work/postrm" || fail "postrm does not remove /var/lib/kitchen-station on purge"

# --- the unpacked tree
root="$work/root"
dpkg -x "$station_deb" "$root"
for program in kitchen-station kitchen-tool; do
    link="$root/usr/bin/$program"
    [ "$(readlink -f "$link")" = "$root/usr/lib/kitchen-station/$program" ] \
        || fail "/usr/bin/$program does not lead to /usr/lib/kitchen-station/$program: $(readlink "$link")"
    [ -x "$root/usr/lib/kitchen-station/$program" ] || fail "$program is not executable"
done
cmp -s "$root/usr/lib/kitchen-station/NC_VELK.i18n" "$source/resources/i18n/NC_VELK.i18n" \
    || fail "the catalog beside the programs differs from resources/i18n/NC_VELK.i18n"
cmp -s "$root/usr/share/kitchen-station/template/Etat/Etiquette_2X4.fr3" "$source/resources/tickets/Etiquette_2X4.fr3" \
    || fail "the template label is not the built-in layout"
for size in 32 48 64 128 256; do
    png="$root/usr/share/icons/hicolor/${size}x$size/apps/kitchen-station.png"
    file -b "$png" | grep -q "PNG image data, $size x $size" || fail "icon $size: $(file -b "$png")"
done
if command -v desktop-file-validate > /dev/null; then
    for entry in "$root/usr/share/applications/kitchen-station.desktop" \
                 "$root/usr/share/kitchen-station/kitchen-station-autostart.desktop"; do
        desktop-file-validate "$entry" || fail "$(basename "$entry") is not a valid desktop entry"
    done
fi

# --- the unpacked kitchen-tool, through its link: the call of order 42, and its sound
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
plan=$(cd "$work" && "$root/usr/bin/kitchen-tool" announce 42 --plan) || fail "kitchen-tool announce 42 --plan failed"
[ "$plan" = "$(printf 'TALABIA\nFA42')" ] || fail "announce 42 --plan printed: $plan"
(cd "$work" && "$root/usr/bin/kitchen-tool" announce 42 --wav "$work/42.wav") || fail "announce 42 --wav failed"
file -b "$work/42.wav" | grep -q "WAVE audio" || fail "announce 42 --wav wrote no WAVE file"

# --- kitchen-station-setup from the unpacked tree: a working directory, kept on a second run
setup="$root/usr/bin/kitchen-station-setup"
home="$work/home"
mkdir -p "$home"
station="$work/station dir"
HOME="$home" "$setup" "$station" > /dev/null || fail "kitchen-station-setup failed"
for file in Ch.txt station.ini Etat/Etiquette_2X4.fr3 Font/README.txt; do
    [ -f "$station/$file" ] || fail "setup made no $file"
done
printf 'caisse:/srv/caisse/CAISSE.FDB\r\nCaisse\r\n' > "$station/Ch.txt"
echo "<edited/>" > "$station/Etat/Etiquette_2X4.fr3"
HOME="$home" "$setup" "$station" > /dev/null || fail "kitchen-station-setup failed the second time"
grep -q '^caisse:' "$station/Ch.txt" || fail "a second setup overwrote Ch.txt"
grep -q '<edited/>' "$station/Etat/Etiquette_2X4.fr3" || fail "a second setup overwrote the label layout"
# without a folder, a user's setup makes ~/kitchen-station (root's would make /var/lib/kitchen-station)
if [ "$(id -u)" != 0 ]; then
    HOME="$home" "$setup" > /dev/null || fail "kitchen-station-setup without a folder failed"
    [ -f "$home/kitchen-station/Ch.txt" ] || fail "setup without a folder made no ~/kitchen-station"
    rm -rf "$home/kitchen-station"
fi
if HOME="$home" "$setup" --autostart "$station" > /dev/null 2>&1; then
    fail "--autostart accepted a folder name with a blank"
fi
plain="$work/station"
HOME="$home" "$setup" --autostart "$plain" > /dev/null || fail "setup --autostart failed"
autostart="$home/.config/autostart/kitchen-station.desktop"
grep -qx "Exec=kitchen-station-start $plain" "$autostart" || fail "the autostart entry does not start in $plain"
if HOME="$home" "$setup" --bogus > /dev/null 2>&1; then
    fail "setup accepted an unknown option"
fi
if HOME="$home" "$setup" --owner no-such-kitchen-user "$work/owned" > /dev/null 2>&1; then
    fail "setup accepted an owner that does not exist"
fi
[ ! -e "$work/owned" ] || fail "setup made a folder for an owner it refused"

# --- kitchen-station-start: the working directory it picks. A stand-in
# program beside a copy of the script prints the folder it was started in.
fake="$work/fake"
mkdir -p "$fake/bin" "$fake/lib/kitchen-station" "$work/env-dir" "$work/arg-dir"
cp "$root/usr/bin/kitchen-station-start" "$fake/bin/"
printf '#!/bin/sh\npwd\n' > "$fake/lib/kitchen-station/kitchen-station"
chmod +x "$fake/lib/kitchen-station/kitchen-station"
start="$fake/bin/kitchen-station-start"
check_start() { # EXPECTED HOME ENV-DIR [ARG]
    expected=$1 home_dir=$2 env_dir=$3
    shift 3
    got=$(cd / && HOME="$home_dir" KITCHEN_STATION_DIR="$env_dir" "$start" "$@") || got="(failed)"
    [ "$got" = "$expected" ] || fail "kitchen-station-start $* (HOME=$home_dir, KITCHEN_STATION_DIR=$env_dir) started in $got, not $expected"
}
check_start "$work/arg-dir" "$home" "$work/env-dir" "$work/arg-dir"
check_start "$work/env-dir" "$home" "$work/env-dir"
mkdir -p "$home/kitchen-station"
check_start "$home/kitchen-station" "$home" ""
if [ ! -d /var/lib/kitchen-station ]; then
    check_start "$work" "$work" ""
fi
if (HOME="$home" "$start" "$work/missing" > /dev/null 2>&1); then
    fail "kitchen-station-start started in a missing folder"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "packages checked"
