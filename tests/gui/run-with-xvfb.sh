#!/usr/bin/env bash
# Runs a command under a private Xvfb display, so GUI tests need no display of their own.
# NOMVARIX_XVFB_SCREEN sets the screen's size and depth (default 1280x800x24).
set -euo pipefail
exec xvfb-run -a -s "-screen 0 ${NOMVARIX_XVFB_SCREEN:-1280x800x24} -nolisten tcp" "$@"
