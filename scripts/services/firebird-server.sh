#!/bin/bash
# The Firebird server on loopback for the tests that go over the network:
# start | stop | restart | status. Works without systemd: the guard process
# (fbguard) runs as the user firebird and restarts the server if it dies.
set -eu

guard=/usr/sbin/fbguard
server=/usr/sbin/firebird
rundir=/run/firebird3.0

pids_of() {
    # exact process names only, never a pattern over command lines
    pidof "$1" 2>/dev/null || true
}

listening() {
    # the server answers on 127.0.0.1:3050 (Debian binds it to localhost)
    (exec 3<>/dev/tcp/127.0.0.1/3050) 2>/dev/null
}

start() {
    if [ ! -x "$guard" ]; then
        echo "firebird-server: $guard is missing (install firebird3.0-server)" >&2
        exit 1
    fi
    if [ -n "$(pids_of fbguard)" ] && listening; then
        echo "firebird-server: already running"
        return 0
    fi
    mkdir -p "$rundir"
    chown firebird:firebird "$rundir"
    su -s /bin/sh firebird -c "$guard -daemon -forever"
    i=0
    while ! listening; do
        i=$((i + 1))
        if [ $i -gt 100 ]; then
            echo "firebird-server: the server did not start listening on 127.0.0.1:3050" >&2
            exit 1
        fi
        sleep 0.1
    done
    echo "firebird-server: running"
}

stop() {
    # the guard first, or it starts the server again
    for pid in $(pids_of fbguard); do kill "$pid" 2>/dev/null || true; done
    for pid in $(pids_of firebird); do kill "$pid" 2>/dev/null || true; done
    i=0
    while [ -n "$(pids_of fbguard)$(pids_of firebird)" ]; do
        i=$((i + 1))
        if [ $i -gt 100 ]; then
            echo "firebird-server: the server did not stop" >&2
            exit 1
        fi
        sleep 0.1
    done
    echo "firebird-server: stopped"
}

status() {
    if [ -n "$(pids_of firebird)" ] && listening; then
        echo "firebird-server: running (guard $(pids_of fbguard), server $(pids_of firebird))"
    else
        echo "firebird-server: not running"
        return 3
    fi
}

case "${1:-}" in
    start) start ;;
    stop) stop ;;
    restart) stop; start ;;
    status) status ;;
    *) echo "usage: $0 start|stop|restart|status" >&2; exit 2 ;;
esac
