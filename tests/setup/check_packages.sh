#!/usr/bin/env bash
# Fails, naming the package, when something the build found or linked, or
# something the program and the tests use at run time, belongs to a Debian
# package that the set-up neither installs nor pulls in through Depends. A
# machine that had such a package from earlier work would hide the fault from
# everyone but a new user.
#
# usage: check_packages.sh <source dir> <build dir> [set-up script]
set -euo pipefail

ROOT=$1
BUILD=$2
SETUP=${3:-$ROOT/scripts/setup.sh}
NEEDS="$ROOT/tests/setup/runtime-needs.txt"

listed_packages() {
  bash -c "$(sed -n '/^PACKAGES=(/,/^)/p' "$SETUP")"'; printf "%s\n" "${PACKAGES[@]}"'
}

# Every package the listed ones pull in through Depends and Pre-Depends,
# virtual names with their providers.
package_closure() {
  apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts \
    --no-breaks --no-replaces --no-enhances "$@" 2>/dev/null |
    sed -E 's/^ *(\|?(Pre)?Depends: *)?//; s/[<>]//g; s/:(any|amd64|i386|all)$//' |
    grep -v '^$' | sort -u
}

# What the configure step found: every package folder (*_DIR) and the tools
# it builds with, outside the source and build trees.
configured_paths() {
  grep -E '^[A-Za-z0-9_]+_DIR:PATH=/|^(CMAKE_(C|CXX)_COMPILER|CMAKE_MAKE_PROGRAM|PKG_CONFIG_EXECUTABLE):FILEPATH=/' \
    "$BUILD/CMakeCache.txt" |
    sed -E 's/^([A-Za-z0-9_]+):[A-Z]+=(.*)$/\1 \2/' |
    while read -r name path; do
      case "$path" in "$ROOT"/* | "$BUILD"/*) continue ;; esac
      if [ -d "$path" ]; then
        local file
        file="$path/${name%_DIR}Config.cmake"
        [ -f "$file" ] || file=$(find "$path" -maxdepth 1 -type f -name '*Config.cmake' -print -quit)
        [ -n "$file" ] || file=$(find "$path" -maxdepth 1 -type f -name '*.cmake' -print -quit)
        if [ -n "$file" ]; then echo "$name $file"; fi
      elif [ -e "$path" ]; then
        echo "$name $path"
      fi
    done
}

linked_libraries() {
  grep -E '^ *LINK_LIBRARIES = ' "$BUILD/build.ninja" | tr ' ' '\n' | grep -E '^/.*\.(so|a)(\.[0-9.]+)?$' |
    sort -u | sed 's/^/linked /'
  find "$BUILD/bin" -maxdepth 1 -type f -executable -print0 | xargs -0 -r ldd 2>/dev/null |
    sed -nE 's/^.*=> (\/[^ ]+) .*$/loaded \1/p' | sort -u
}

runtime_paths() {
  local kind what
  while read -r kind what; do
    case "$kind" in
      '' | '#'*) ;;
      program) if p=$(command -v "$what"); then echo "program:$what $p"; else echo "missing program $what"; fi ;;
      font) local f
            f=$(fc-list "$what" file 2>/dev/null | awk 'NR == 1 { sub(/: *$/, ""); print }')
            if [ -n "$f" ]; then echo "font:${what// /_} $f"; else echo "missing font ${what// /_}"; fi ;;
      file) if [ -e "$what" ]; then echo "file $what"; else echo "missing file $what"; fi ;;
    esac
  done < "$NEEDS"
}

# Owners of many paths with few dpkg calls: each path as named, then as the
# other side of the merged /usr, then with its links resolved.
declare -A owner=()
find_owners() {
  local round candidates=() path
  for round in named merged resolved resolved-merged; do
    candidates=()
    for path in "$@"; do
      [ -n "${owner[$path]:-}" ] && continue
      case $round in
        named) candidates+=("$path") ;;
        merged) case "$path" in /usr/lib/*) candidates+=("${path#/usr}") ;; /lib/*) candidates+=("/usr$path") ;; esac ;;
        resolved) candidates+=("$(readlink -f "$path")") ;;
        resolved-merged) local r; r=$(readlink -f "$path"); case "$r" in /usr/lib/*) candidates+=("${r#/usr}") ;; esac ;;
      esac
    done
    [ ${#candidates[@]} -eq 0 ] && continue
    declare -A found=()
    while IFS= read -r line; do
      case "$line" in diversion*) continue ;; esac
      found[${line#*: }]=${line%%: *}
    done < <(dpkg -S "${candidates[@]}" 2>/dev/null || true)
    for path in "$@"; do
      [ -n "${owner[$path]:-}" ] && continue
      local key
      for key in "$path" "${path#/usr}" "/usr$path" "$(readlink -f "$path")"; do
        if [ -n "${found[$key]:-}" ]; then owner[$path]=${found[$key]%%[,:]*}; break; fi
      done
      if [ -z "${owner[$path]:-}" ] && [ "$round" = resolved-merged ]; then
        local r; r=$(readlink -f "$path")
        [ -n "${found[${r#/usr}]:-}" ] && owner[$path]=${found[${r#/usr}]%%[,:]*}
      fi
    done
    unset found
  done
}

mapfile -t listed < <(listed_packages)
[ ${#listed[@]} -gt 0 ] || { echo "no PACKAGES list in $SETUP"; exit 1; }
declare -A allowed=()
while read -r p; do allowed[$p]=1; done < <(package_closure "${listed[@]}")
if [ ${#allowed[@]} -le ${#listed[@]} ]; then
  echo "apt knows too few of the listed packages (${#allowed[@]}); run apt-get update"
  exit 1
fi

mapfile -t needs < <({ configured_paths; linked_libraries; runtime_paths; } | sort -u -k2,2)
paths=()
for line in "${needs[@]}"; do [[ $line == missing* ]] || paths+=("${line#* }"); done
find_owners "${paths[@]}"

failures=0
for line in "${needs[@]}"; do
  what=${line%% *}
  path=${line#* }
  if [ "$what" = missing ]; then
    echo "FAIL: $path is not on this machine; set-up must install the package that provides it"
    failures=$((failures + 1))
  elif [ -z "${owner[$path]:-}" ]; then
    echo "FAIL: $path ($what) belongs to no Debian package; a new machine will not have it"
    failures=$((failures + 1))
  elif [ -z "${allowed[${owner[$path]}]:-}" ]; then
    echo "FAIL: package ${owner[$path]} (owns $path, $what) is not installed by $(basename "$SETUP"): add it to PACKAGES"
    failures=$((failures + 1))
  fi
done

echo "checked ${#needs[@]} paths against ${#listed[@]} listed packages (${#allowed[@]} with their Depends): $failures failure(s)"
[ "$failures" -eq 0 ]
