#!/usr/bin/env bash
# Sets up, builds, and types a Tibetan greeting through the engine.
# Any arguments are passed to `yakdrom type` instead of the greeting.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh >/dev/null
if [ $# -eq 0 ]; then set -- --trace "fcmrjxisjfdejleks'"; fi
exec build/bin/yakdrom type "$@"
