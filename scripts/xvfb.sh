# Sourced: start_xvfb starts a private X server and exports DISPLAY;
# stop_xvfb stops it and the wineserver started on it.
start_xvfb() {
    XVFB_FD_FILE=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$XVFB_FD_FILE" 2>/dev/null &
    XVFB_PID=$!
    i=0
    while [ ! -s "$XVFB_FD_FILE" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
    [ -s "$XVFB_FD_FILE" ] || { echo "Xvfb did not start" >&2; return 1; }
    export DISPLAY=:$(head -n 1 "$XVFB_FD_FILE")
    rm -f "$XVFB_FD_FILE"
}
stop_xvfb() {
    wineserver -k 2>/dev/null || true
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=
}
