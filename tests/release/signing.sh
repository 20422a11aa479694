#!/usr/bin/env bash
# signing.sh: tools/make-dist with a throwaway certificate, made here and
# never kept, on the saver builds of build/: every signed file verifies and
# signing again on a clock a day ahead gives the same bytes; the signed x64
# setup installs the signed savers under wine64 ($WINEPREFIX set up by the
# caller). A missing certificate, a wrong password and an unreadable password
# file each stop make-dist with one line, dist/ as it was. Ends with "N
# passed, M failed".
set -uo pipefail
. "$(dirname "$0")/../../tools/lib/common.sh"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
passed=0 failed=0
check() {  # check NAME COMMAND...: one case
  if "${@:2}"; then passed=$((passed + 1)); else failed=$((failed + 1)); log "signing: $1 FAILED"; fi
}

cd "$tmp" || exit 1
printf 'throwaway password\n' >password
printf 'not the password\n' >wrong
openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 \
  -subj "/CN=Embrix test signer" -addext extendedKeyUsage=codeSigning 2>/dev/null &&
  openssl pkcs12 -export -inkey key.pem -in cert.pem -out cert.pfx -passout file:password || exit 1
# A build folder of its own, so that the setups copied beside the savers stay here.
for arch in win32 win64; do
  mkdir -p "build/$arch" && cp "$EMBRIX_BUILD/$arch"/{Embrix.scr,build-time.txt} "build/$arch/" || exit 1
done
make_dist() {  # make_dist PFX PASSWORD_FILE: into dist/, the reason in reason.txt
  EMBRIX_SIGN_PFX=$1 EMBRIX_SIGN_PASSWORD_FILE=$2 "$EMBRIX_ROOT/tools/make-dist" build dist 2>reason.txt
}
make_dist cert.pfx password || { cat reason.txt >&2; echo "0 passed, 1 failed"; exit 1; }
mkdir zip && (cd zip && unzip -q ../dist/Embrix-*.zip) || exit 1
signed=(dist/*.exe zip/*/*-bit/Embrix.scr zip/*/*.exe)

all_verify() {
  local f
  for f in "${signed[@]}"; do
    osslsigncode verify -CAfile cert.pem -in "$f" >/dev/null 2>&1 || { log "$f does not verify"; return 1; }
  done
}
a_day_later() {  # the signing time is the build time, not the clock's
  EMBRIX_SIGN_PFX=cert.pfx EMBRIX_SIGN_PASSWORD_FILE=password NO_FAKE_STAT=1 faketime -f +1d \
    "$EMBRIX_ROOT/tools/make-dist" build later 2>/dev/null && diff -r dist later >/dev/null
}
setup_installs() {
  local system=$WINEPREFIX/drive_c/windows
  "$WINE64" dist/*-setup-x64.exe /S && "$WINESERVER" -w &&
    cmp "$system/system32/Embrix.scr" zip/*/64-bit/Embrix.scr &&
    cmp "$system/syswow64/Embrix.scr" zip/*/32-bit/Embrix.scr
  local rc=$?
  "$WINE64" 'C:\Program Files\Embrix\Uninstall.exe' /S; "$WINESERVER" -w
  return $rc
}
check "every signed file verifies" all_verify
check "signed again a day later, the same bytes" a_day_later
check "the signed setup installs the signed savers" setup_installs

# refused PFX PASSWORD_FILE: one line, a failing exit, dist/ untouched.
refused() {
  local before; before=$(ls -l --time-style=+%s.%N dist; sha256sum dist/*)
  ! make_dist "$1" "$2" && [ "$(wc -l <reason.txt)" = 1 ] &&
    [ "$before" = "$(ls -l --time-style=+%s.%N dist; sha256sum dist/*)" ] &&
    [ -z "$(ls -d dist.new.* 2>/dev/null)" ] || { cat reason.txt >&2; return 1; }
}
check "a missing certificate is refused" refused missing.pfx password
check "a wrong password is refused" refused cert.pfx wrong
mkdir unreadable  # root reads any file whatever its mode: a folder is unreadable as a file
check "an unreadable password file is refused" refused cert.pfx unreadable
echo "$passed passed, $failed failed"
