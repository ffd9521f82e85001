#!/usr/bin/env bash
# The package guard fails, naming the package, when set-up stops listing one
# that the build needs.
# usage: check_guard_names_package.sh <source dir> <build dir> <package>
set -euo pipefail
ROOT=$1
BUILD=$2
PACKAGE=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

sed -E "s/(^|[ (])$PACKAGE( |\$)/\\1\\2/" "$ROOT/scripts/setup.sh" > "$work/setup.sh"
! grep -qw -- "$PACKAGE" "$work/setup.sh" || { echo "FAIL: could not drop $PACKAGE from the list"; exit 1; }
if output=$("$ROOT/tests/setup/check_packages.sh" "$ROOT" "$BUILD" "$work/setup.sh"); then
  echo "FAIL: the guard passed without $PACKAGE"
  exit 1
fi
echo "$output" | grep -E "package $PACKAGE .*add it to PACKAGES" || { echo "FAIL: $PACKAGE not named"; echo "$output"; exit 1; }
