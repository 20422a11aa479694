#!/usr/bin/env bash
# rebuild-same-bytes.sh DIST: makes the release files a second time, in
# another folder, with the other CMake generator and a clock 40 days ahead,
# and compares them with DIST byte for byte. The second folder holds the
# tracked files as they are now (uncommitted changes too, as in build/) but no
# git repository: its build time is SOURCE_DATE_EPOCH, set to the commit's
# time (DIST took it from git), which every PE time stamp must carry. Also:
# SHA256SUMS covers DIST, and the .deb and the RPM hold the same files.
# Ends with one line, "same bytes" or not.
set -uo pipefail
. "$(dirname "$0")/../../tools/lib/common.sh"
dist=$1
copy=$(mktemp -d /tmp/embrix-again.XXXXXX)
trap 'rm -rf "$copy"' EXIT
(cd "$EMBRIX_ROOT" && git ls-files -z --cached --others --exclude-standard |
  tar --null -T - --ignore-failed-read -cf - 2>/dev/null) | tar -xf - -C "$copy" || exit 1
when=${SOURCE_DATE_EPOCH:-$(git -C "$EMBRIX_ROOT" log -1 --format=%ct)} || exit 1
gen=$(sed -n 's/^CMAKE_GENERATOR:INTERNAL=//p' "$EMBRIX_BUILD/win32/CMakeCache.txt" 2>/dev/null)
[ "$gen" = Ninja ] && CMAKE_GENERATOR="Unix Makefiles" || CMAKE_GENERATOR=Ninja
unset GIT_DIR; export SOURCE_DATE_EPOCH=$when CMAKE_GENERATOR

# build PRESET TARGET: only what dist/ needs, on the clock 40 days ahead;
# files keep their real times (NO_FAKE_STAT), as on a machine whose clock is.
later() { NO_FAKE_STAT=1 faketime -f +40d "$@"; }
build() {
  (cd "$copy" && later cmake --preset "$1" -DBUILD_TESTING=OFF -DEMBRIX_BENCHMARKS=OFF &&
    later cmake --build "build/$1" -j"$(nproc)" --target "$2") >>"$copy.log" 2>&1
}
start=$SECONDS
if ! { build win32 Embrix && build win64 Embrix && build native embrix &&
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
for f in "$copy"/build/win{32,64}/Embrix.scr "$dist"/*.exe; do
  (($(od -An -tu4 -j$(($(od -An -tu4 -j60 -N4 "$f") + 8)) -N4 "$f") == when)) || differ+=("the PE time of $f")
done
[ "$(find "$dist" -type f ! -name SHA256SUMS -printf '%f\n' | sort)" = "$(cut -c67- "$dist/SHA256SUMS" | sort)" ] &&
  (cd "$dist" && sha256sum -c --quiet SHA256SUMS) || differ+=("SHA256SUMS from the files")
[ "$(dpkg-deb -c "$dist"/*.deb | awk '!/^d/ { print $1, $2, substr($6, 2) }' | sort)" = "$(rpm -qp \
  --qf '[%{FILEMODES:perms} %{FILEUSERNAME}/%{FILEGROUPNAME} %{FILENAMES}\n]' "$dist"/*.rpm | grep -v ^d | sort)" ] ||
  differ+=("the .deb's files from the RPM's")
if ((${#differ[@]})); then
  echo "release files made again: differ in ${differ[*]}"; exit 1
fi
echo "release files made again: same bytes ($(ls "$dist" | wc -l) files)"
