#!/usr/bin/env bash
# Puts Quillet into the desktop's menu and launcher: a .desktop entry and the
# icon under the user's XDG data folders.
# usage: install-desktop-entry.sh <program folder>
set -euo pipefail

APPDIR=$1
DATA="${XDG_DATA_HOME:-$HOME/.local/share}"

mkdir -p "$DATA/applications" "$DATA/icons/hicolor/256x256/apps"
cp "$APPDIR/pic/quillet.png" "$DATA/icons/hicolor/256x256/apps/quillet.png"
cat > "$DATA/applications/quillet.desktop" <<ENTRY
[Desktop Entry]
Type=Application
Version=1.0
Name=Quillet 造价工程师考试辅导
Name[en]=Quillet cost-engineer exam trainer
GenericName=考试辅导
Comment=造价工程师执业资格考试：章节练习、模拟考试、法规考点、学习计划与统计
Comment[en]=Chapter practice, mock exams, regulations and a study plan for the cost-engineer exam
Exec="$APPDIR/quillet"
Icon=quillet
Terminal=false
Categories=Education;
Keywords=exam;cost;engineer;造价;考试;练习;
ENTRY
if command -v update-desktop-database >/dev/null; then
  update-desktop-database -q "$DATA/applications" || true
fi
