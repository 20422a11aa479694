#!/usr/bin/env bash
# rebuild-same-bytes.sh DIST: makes the release files a second time, in
# another folder, with the other CMake generator and a clock 40 days ahead,
# and compares them with DIST byte for byte. The second folder holds the
# tracked files as they are now (uncommitted changes too, as in build/) and
# takes the build time from the same commit through GIT_DIR, or from
# SOURCE_DATE_EPOCH when that is set. Ends with one line, "same bytes" or not.
set -uo pipefail
. "$(dirname "$0")/../../tools/lib/common.sh"
dist=$1
copy=$(mktemp -d /tmp/embrix-again.XXXXXX)
trap 'rm -rf "$copy"' EXIT
(cd "$EMBRIX_ROOT" && git ls-files -z --cached --others --exclude-standard |
  tar --null -T - --ignore-failed-read -cf - 2>/dev/null) | tar -xf - -C "$copy" || exit 1
GIT_DIR=$(git -C "$EMBRIX_ROOT" rev-parse --absolute-git-dir) || exit 1
gen=$(sed -n 's/^CMAKE_GENERATOR:INTERNAL=//p' "$EMBRIX_BUILD/win32/CMakeCache.txt" 2>/dev/null)
[ "$gen" = Ninja ] && CMAKE_GENERATOR="Unix Makefiles" || CMAKE_GENERATOR=Ninja
export GIT_DIR CMAKE_GENERATOR

# build PRESET TARGET: only what dist/ needs, on the clock 40 days ahead;
# files keep their real times (NO_FAKE_STAT), as on a machine whose clock is.
later() { NO_FAKE_STAT=1 faketime -f +40d "$@"; }
build() {
  (cd "$copy" && later cmake --preset "$1" -DBUILD_TESTING=OFF -DEMBRIX_BENCHMARKS=OFF &&
    later cmake --build "build/$1" -j"$(nproc)" --target "$2") >>"$copy.log" 2>&1
}
start=$SECONDS
if ! { build win32 Embrix && build win64 Embrix &&
       build native embrix &&
       later "$copy/tools/make-dist" "$copy/build" "$copy/dist" 2>>"$copy.log"; }; then
  tail -30 "$copy.log" >&2; rm -f "$copy.log"
  echo "release files made again: the second build failed"; exit 1
fi
rm -f "$copy.log"
log "release files made again in $((SECONDS - start)) s with $CMAKE_GENERATOR"

differ=()
[ "$(cd "$dist" && ls)" = "$(cd "$copy/dist" && ls)" ] || differ+=("the list of files")
for f in "$dist"/*; do cmp -s "$f" "$copy/dist/${f##*/}" || differ+=("${f##*/}"); done
for f in "$EMBRIX_BUILD"/win{32,64}/Embrix.scr "$copy"/build/win{32,64}/Embrix.scr; do
  ! grep -aqe "$EMBRIX_ROOT" -e "$copy" "$f" || differ+=("a build folder's path in $f")
done
if ((${#differ[@]})); then
  echo "release files made again: differ in ${differ[*]}"; exit 1
fi
echo "release files made again: same bytes ($(ls "$dist" | wc -l) files)"
