#!/usr/bin/env bash
# Runs a command under a private Xvfb display, so GUI tests need no display of their own.
set -euo pipefail
exec xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp" "$@"
