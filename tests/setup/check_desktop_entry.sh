#!/usr/bin/env bash
# The desktop entry installs into the XDG data folders, validates, names the
# program in Chinese under Education, starts the installed program and has
# its icon.
# usage: check_desktop_entry.sh <source dir> <build dir>
set -euo pipefail
ROOT=$1
BUILD=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

appdir="$work/程序 folder"
mkdir -p "$appdir/pic"
cp "$BUILD/pic/quillet.png" "$appdir/pic/"
XDG_DATA_HOME="$work/data" "$ROOT/scripts/install-desktop-entry.sh" "$appdir"

entry="$work/data/applications/quillet.desktop"
icon="$work/data/icons/hicolor/256x256/apps/quillet.png"
fail() { echo "FAIL: $*"; exit 1; }

desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"
grep -q '^Name=.*造价工程师' "$entry" || fail "no Chinese name"
grep -q '^Comment=.*模拟考试' "$entry" || fail "no Chinese comment"
grep -q '^Categories=Education;$' "$entry" || fail "not in Education"
grep -qF "Exec=\"$appdir/quillet\"" "$entry" || fail "Exec does not start the installed program"
grep -q '^Icon=quillet$' "$entry" || fail "no icon name"
[ "$(identify -format '%m %wx%h' "$icon")" = "PNG 256x256" ] || fail "icon is not a 256 px PNG"
echo "desktop entry and icon installed and valid"
