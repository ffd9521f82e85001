#!/usr/bin/env bash
# The same set-up as run.sh, then the whole test suite headless.
set -euo pipefail
source "$(dirname "$0")/scripts/setup.sh"
export QT_QPA_PLATFORM=offscreen
cd "$BUILD"
ctest --output-on-failure -j "$(nproc)" --timeout 600
