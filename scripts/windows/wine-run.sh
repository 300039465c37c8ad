#!/usr/bin/env bash
# Runs a Windows program under Wine, in the project's own Wine prefix and without Wine's chatter.
set -euo pipefail
export WINEPREFIX=${NOMVARIX_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/nomvarix/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko install prompts: nothing here uses them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
exec wine "$@"
