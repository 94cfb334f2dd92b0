#!/usr/bin/env bash
# Sets up, builds, and opens a typing pad: the Qt pad `yakdrom-pad` when a display is there
# (DISPLAY or WAYLAND_DISPLAY), else the pad in this terminal (Ctrl-D prints the text).
# Any arguments are passed to `yakdrom type` instead, which types them as keys.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh >/dev/null
if [ $# -gt 0 ]; then exec build/bin/yakdrom type "$@"; fi
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x build/bin/yakdrom-pad ]; then
  exec build/bin/yakdrom-pad
fi
exec build/bin/yakdrom pad
