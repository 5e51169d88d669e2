#!/bin/sh
# The whole test suite on a fresh Debian 12 machine: installs what is missing,
# starts the services the tests need (a Firebird server on loopback, CUPS with a
# PDF printer), builds with warnings as errors and runs every test.
set -eu
cd "$(dirname "$0")/.."

scripts/install-deps.sh

for service in scripts/services/*.sh; do
    [ -x "$service" ] && "$service" start
done

build=build/test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSTATION_WERROR=ON \
      -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure --timeout 900 "$@"
