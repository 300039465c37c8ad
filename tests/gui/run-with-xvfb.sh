#!/usr/bin/env bash
# Runs a command under a private Xvfb display, so GUI tests need no display of their own. The
# server picks a free display itself (-displayfd): a number chosen beforehand, as xvfb-run -a
# chooses it, races with the other tests that start their own display at the same moment.
# NOMVARIX_XVFB_SCREEN sets the screen's size and depth (default 1280x800x24).
set -euo pipefail
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 "${NOMVARIX_XVFB_SCREEN:-1280x800x24}" -nolisten tcp 3>"$display_file" \
  </dev/null >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; rm -f "$display_file"' EXIT
until [ -s "$display_file" ]; do
  kill -0 "$xvfb" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
  sleep 0.05
done
export DISPLAY=:$(head -n 1 "$display_file")
unset XAUTHORITY
"$@"
