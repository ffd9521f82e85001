#!/usr/bin/env bash
# Shared set-up of run.sh and test.sh: packages, build, program folder, demo bank.
# Safe to run again and again; never touches an existing question bank.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build"
APPDIR="${QUILLET_HOME:-$HOME/.local/share/Quillet}"
BANK="$APPDIR/data/Vellumar.mdb"
# Compiler-cache hits across checkouts in other folders (debug info then names
# the folder of the first build, which is harmless for a rebuild of the same sources).
export CCACHE_BASEDIR="$ROOT" CCACHE_NOHASHDIR=1

PACKAGES=(
  cmake ninja-build g++ pkg-config ccache
  qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev libgl-dev
  libsqlite3-dev libzip-dev libfluidsynth-dev libasound2-dev timgm6mb-soundfont
  mdbtools-dev mdbtools
  fonts-wqy-microhei fonts-arphic-uming fonts-arphic-ukai fonts-noto-cjk qt6-translations-l10n
  xvfb xauth imagemagick desktop-file-utils
  python3-docx libreoffice-writer-nogui poppler-utils
)

install_missing_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "== Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  # An interrupted earlier install leaves packages unpacked but not configured.
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive dpkg --configure -a
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends --fix-broken "${missing[@]}"
}

build_project() {
  # A configure that failed or was interrupted leaves a cache without build.ninja;
  # configure again whenever the tree is not a complete one.
  if [ ! -f "$BUILD/build.ninja" ] || [ ! -f "$BUILD/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
  fi
  cmake --build "$BUILD" -j "$(nproc)"
}

install_program_folder() {
  # The program folder holds the executable, pic/, sound/, htm/ and data/.
  # Installing refreshes everything except data/, which holds the learner's progress.
  cmake --install "$BUILD" --prefix "$APPDIR" >/dev/null
  mkdir -p "$APPDIR/data"
}

install_desktop_entry() {
  "$ROOT/scripts/install-desktop-entry.sh" "$APPDIR"
}

create_demo_bank() {
  if [ -e "$BANK" ]; then
    echo "== Question bank kept: $BANK"
  elif [ -x "$BUILD/bin/quillet-bank" ]; then
    echo "== Creating the demo question bank: $BANK"
    "$BUILD/bin/quillet-bank" build "$ROOT/content" "$BANK"
  fi
}

install_missing_packages
build_project
install_program_folder
install_desktop_entry
create_demo_bank
