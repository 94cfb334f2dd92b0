#!/usr/bin/env bash
# Configures and builds the tree in build/ (Release, assertions kept).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DYAKDROM_WERROR=ON >/dev/null
cmake --build build -j "$(nproc)"
