#!/usr/bin/env bash
# Installs what is missing, builds, creates the demo bank when none exists, starts Quillet.
set -euo pipefail
source "$(dirname "$0")/scripts/setup.sh"
exec "$APPDIR/quillet" "$@"
