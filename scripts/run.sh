#!/usr/bin/env bash
# Sets up, builds, and opens the typing pad in this terminal (Ctrl-D prints the text).
# Any arguments are passed to `yakdrom type` instead, which types them as keys.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh >/dev/null
if [ $# -eq 0 ]; then exec build/bin/yakdrom pad; fi
exec build/bin/yakdrom type "$@"
