#!/bin/sh
# CUPS for the label printing tests and the demo, on a machine without systemd:
# starts the scheduler and makes a cups-pdf queue the default printer.
#   cups.sh start    start the scheduler (if it is not running) and add the queue (if missing)
#   cups.sh stop     stop the scheduler that "start" started
#   cups.sh status   say whether the scheduler runs and which printer is the default
# Idempotent: "start" on a set-up machine changes nothing.
set -eu

queue=${STATION_PDF_QUEUE:-PDF}
pidfile=/run/cups/station-cupsd.pid
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd

running() {
    lpstat -r >/dev/null 2>&1 && lpstat -r | grep -q "is running"
}

start_scheduler() {
    running && return 0
    mkdir -p /run/cups
    # In the foreground under setsid, so the pid written here is the scheduler's own.
    setsid /usr/sbin/cupsd -f >/dev/null 2>&1 < /dev/null &
    echo $! > "$pidfile"
    tries=0
    until running; do
        tries=$((tries + 1))
        if [ "$tries" -gt 100 ]; then
            echo "cups.sh: the CUPS scheduler did not start" >&2
            exit 1
        fi
        sleep 0.1
    done
}

add_queue() {
    if ! lpstat -p "$queue" >/dev/null 2>&1; then
        [ -f "$ppd" ] || { echo "cups.sh: $ppd is missing (printer-driver-cups-pdf)" >&2; exit 1; }
        lpadmin -p "$queue" -E -v cups-pdf:/ -P "$ppd"
    fi
    cupsenable "$queue"
    cupsaccept "$queue"
    if [ "$(lpstat -d 2>/dev/null | sed -n 's/^system default destination: //p')" != "$queue" ]; then
        lpadmin -d "$queue"
    fi
}

case "${1:-}" in
start)
    start_scheduler
    add_queue
    ;;
stop)
    if [ -f "$pidfile" ]; then
        pid=$(cat "$pidfile")
        kill "$pid" 2>/dev/null || true
        rm -f "$pidfile"
    fi
    ;;
status)
    if running; then
        echo "scheduler running"
        lpstat -d
    else
        echo "scheduler not running"
        exit 1
    fi
    ;;
*)
    echo "usage: $0 start|stop|status" >&2
    exit 2
    ;;
esac
