# Sourced by the system tests: starts a private Xvfb on a free display, and
# stops it when the test's shell exits. XVFB_SCREEN sets the screen's size
# and depth (a window at display scale 2 needs a larger one).
xvfb_tmp=$(mktemp -d)
cleanup_xvfb() {
  [[ -n "${xvfb_pid:-}" ]] && kill "$xvfb_pid" 2>/dev/null || true
  [[ -n "${xvfb_pid:-}" ]] && wait "$xvfb_pid" 2>/dev/null || true
  rm -rf "$xvfb_tmp"
}
trap cleanup_xvfb EXIT

Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1024x768x24}" -nolisten tcp 3>"$xvfb_tmp/display" 2>"$xvfb_tmp/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [[ -s "$xvfb_tmp/display" ]] && break
  sleep 0.1
done
if [[ ! -s "$xvfb_tmp/display" ]]; then
  echo "Xvfb did not start:"; cat "$xvfb_tmp/xvfb.log"; exit 1
fi
export DISPLAY=":$(cat "$xvfb_tmp/display")"
export QT_QPA_PLATFORM=xcb
# A session bus that isn't there, so connecting fails at once. With no address
# at all, D-Bus (asked by Qt's accessibility bridge) forks a helper to look for
# one; a fork while the picture decoder's thread allocates can hang the child
# before its exec in a sanitizer build, and the window never shows.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$xvfb_tmp/no-session-bus"
