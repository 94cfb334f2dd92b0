#!/usr/bin/env bash
# Sets up the machine, builds, and runs the whole test suite in parallel.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
ctest --test-dir build -j "$(nproc)" --output-on-failure --timeout 600
