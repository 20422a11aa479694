# The emulated 32-bit PC: a Debian i386 machine under qemu-system-i386 (TCG)
# with 32-bit Wine, for the programs this 64-bit-only host cannot run.
# The image is built once into the user's cache, keyed by a hash of its
# recipe; every job boots it with the system disk in snapshot mode and
# passes files in and results out through a small second disk holding a tar
# archive. Sourced by tools/vm (and through it by tools/test).

VM_TOOLS=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VM_GUEST=$VM_TOOLS/vm.d
VM_SUITE=bookworm
VM_ARCH=i386
VM_CACHE=${XDG_CACHE_HOME:-${HOME:-$(getent passwd "$(id -u)" | cut -d: -f6)}/.cache}/embrix-vm
VM_SMP=${EMBRIX_VM_SMP:-2}
VM_MEM=${EMBRIX_VM_MEM:-1536}
VM_PACKAGES=(qemu-system-x86 qemu-user-static debootstrap debian-archive-keyring e2fsprogs)

VM_QEMU_PID=
VM_CHROOT=
VM_BINFMT_ENTRY=
VM_BINFMT_MOUNTED=
VM_TIMES=/dev/null
VM_IMAGE=

vm_log() { printf '== vm: %s\n' "$*" >&2; }

# Hash of everything that decides the image's contents.
vm_recipe_key() {
  {
    echo "$VM_SUITE $VM_ARCH"
    declare -f vm_build_root vm_configure_root vm_install_packages vm_make_disk vm_prepare_image
    cat "$VM_GUEST/packages" "$VM_GUEST/init" "$VM_GUEST/prepare" "$VM_GUEST/guest-env.sh"
  } | sha256sum | cut -c1-16
}

vm_image_dir() { echo "$VM_CACHE/$(vm_recipe_key)"; }

# The Debian archive the host's own apt uses, unless EMBRIX_VM_MIRROR says.
vm_mirror() {
  if [ -n "${EMBRIX_VM_MIRROR:-}" ]; then echo "$EMBRIX_VM_MIRROR"; return; fi
  local uri
  uri=$(apt-get indextargets --format '$(REPO_URI)' "Codename: $VM_SUITE" \
          'Identifier: Packages' 'Component: main' 'Target-Of: deb' 2>/dev/null | head -1)
  [ -n "$uri" ] || { vm_log "no $VM_SUITE archive in apt's sources; set EMBRIX_VM_MIRROR"; return 1; }
  echo "$uri"
}

# vm_stage NAME LIMIT LOG COMMAND...: one bounded step, timed into $VM_TIMES.
vm_stage() {
  local name=$1 limit=$2 logfile=$3; shift 3
  local t0=$SECONDS rc
  vm_log "$name (at most ${limit}s)"
  timeout -k 30 "$limit" "$@" >>"$logfile" 2>&1; rc=$?
  printf '%-36s %5ss  exit %s\n' "$name" $((SECONDS - t0)) "$rc" >>"$VM_TIMES"
  if [ "$rc" != 0 ]; then
    [ "$rc" = 124 ] && vm_log "$name: timed out after ${limit}s"
    vm_log "$name failed (exit $rc); last lines of $logfile:"
    tail -n 30 "$logfile" >&2
  else
    vm_log "$name: $((SECONDS - t0))s"
  fi
  return "$rc"
}

# --- i386 code on the host, for the chroot steps only --------------------

# Registers qemu-i386-static for i386 ELF files. "F" opens the interpreter
# now, so it also works inside the chroot.
vm_binfmt_on() {
  local dir=/proc/sys/fs/binfmt_misc
  if [ ! -e "$dir/register" ]; then
    mount -t binfmt_misc binfmt_misc "$dir" || { vm_log "cannot mount binfmt_misc"; return 1; }
    VM_BINFMT_MOUNTED=1
  fi
  local name=embrix-i386-$$
  printf '%s' ":$name:M::\\x7fELF\\x01\\x01\\x01\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x02\\x00\\x03\\x00:\\xff\\xff\\xff\\xff\\xff\\xfe\\xfe\\x00\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xfe\\xff\\xff\\xff:/usr/bin/qemu-i386-static:F" \
    >"$dir/register" || { vm_log "cannot register qemu-i386-static"; return 1; }
  VM_BINFMT_ENTRY=$dir/$name
}

vm_binfmt_off() {
  if [ -n "$VM_BINFMT_ENTRY" ] && [ -e "$VM_BINFMT_ENTRY" ]; then echo -1 >"$VM_BINFMT_ENTRY"; fi
  VM_BINFMT_ENTRY=
  if [ -n "$VM_BINFMT_MOUNTED" ]; then umount /proc/sys/fs/binfmt_misc 2>/dev/null; fi
  VM_BINFMT_MOUNTED=
}

# Unmounts whatever is mounted below DIR, deepest first.
vm_umount_below() {
  local dir=$1 m
  [ -n "$dir" ] || return 0
  awk -v d="$dir/" 'index($2, d) == 1 { print $2 }' /proc/mounts | sort -r |
    while read -r m; do umount "$m" 2>/dev/null || umount -l "$m"; done
}

# --- the image recipe ----------------------------------------------------

# Settings in the new root before dpkg runs there: no documentation, no
# recommends, no fsync per file, a small initrd built exactly once.
vm_configure_root() {
  local root=$1
  mkdir -p "$root/etc/dpkg/dpkg.cfg.d" "$root/etc/apt/apt.conf.d" \
           "$root/etc/initramfs-tools/conf.d" "$root/usr/share/initramfs-tools/modules.d"
  printf '%s\n' force-unsafe-io \
    'path-exclude=/usr/share/doc/*' 'path-exclude=/usr/share/man/*' \
    'path-exclude=/usr/share/info/*' 'path-exclude=/usr/share/locale/*' \
    >"$root/etc/dpkg/dpkg.cfg.d/embrix-vm"
  printf '%s\n' 'APT::Install-Recommends "false";' 'APT::Install-Suggests "false";' \
    'Dpkg::Options { "--force-confdef"; "--force-confold"; };' \
    >"$root/etc/apt/apt.conf.d/90embrix-vm"
  printf '%s\n' MODULES=list RESUME=none COMPRESS=gzip >"$root/etc/initramfs-tools/conf.d/embrix-vm"
  printf '%s\n' virtio_pci virtio_blk ext4 >"$root/usr/share/initramfs-tools/modules.d/embrix-vm"
  # The kernel's own hook makes the initrd; every later trigger would only
  # make it again.
  printf '%s\n' update_initramfs=no backup_initramfs=no >"$root/etc/initramfs-tools/update-initramfs.conf"
  printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
  chmod +x "$root/usr/sbin/policy-rc.d"
}

vm_build_root() {
  local root=$1 logs=$2 mirror
  mirror=$(vm_mirror) || return 1
  vm_stage "debootstrap, first stage" 1800 "$logs/debootstrap-1.log" \
    debootstrap --arch="$VM_ARCH" --variant=minbase --foreign "$VM_SUITE" "$root" "$mirror" || return 1
  vm_configure_root "$root"
  vm_binfmt_on || return 1
  VM_CHROOT=$root
  vm_stage "debootstrap, second stage" 3600 "$logs/debootstrap-2.log" \
    chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LC_ALL=C \
      /debootstrap/debootstrap --second-stage || return 1
  vm_umount_below "$root"
  vm_install_packages "$root" "$logs" || return 1
  vm_umount_below "$root"
  VM_CHROOT=
  vm_binfmt_off
}

vm_install_packages() {
  local root=$1 logs=$2 pkgs
  pkgs=$(sed -e 's/#.*//' "$VM_GUEST/packages" | xargs)
  mount -t proc proc "$root/proc" || return 1
  vm_stage "packages (apt-get in the chroot)" 3600 "$logs/packages.log" \
    chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LC_ALL=C \
      DEBIAN_FRONTEND=noninteractive /bin/sh -c \
      "apt-get -q update && apt-get -q -y install $pkgs && apt-get clean" || return 1
  rm -f "$root/usr/sbin/policy-rc.d"
  rm -rf "$root/var/lib/apt/lists/"* "$root/var/cache/apt/"*.bin
  install -m 755 "$VM_GUEST/init" "$root/sbin/embrix-init"
}

# Kernel and initrd beside a sparse ext4 image of the root.
vm_make_disk() {
  local root=$1 dir=$2 logs=$3 kernel initrd
  kernel=$(ls "$root"/boot/vmlinuz-* 2>/dev/null | head -1)
  initrd=$(ls "$root"/boot/initrd.img-* 2>/dev/null | head -1)
  [ -f "$kernel" ] && [ -f "$initrd" ] || { vm_log "no kernel or initrd in the new root"; return 1; }
  cp "$kernel" "$dir/vmlinuz" && cp "$initrd" "$dir/initrd.img" || return 1
  local used; used=$(du -sm "$root" | cut -f1)
  vm_stage "file system image" 900 "$logs/mkfs.log" \
    mkfs.ext4 -q -F -L embrix-root -d "$root" "$dir/system.img" "$((used + 2048))M"
}

# One writable boot: the guest makes its Wine prefix. Then a host-side check
# that the guest left a clean file system.
vm_prepare_image() {
  local dir=$1 logs=$2 job
  job=$(mktemp -d "$dir/job.XXXXXX")
  vm_run_job "$dir" "$job/out" 1800 writable "$VM_GUEST/prepare" || { rm -rf "$job"; return 1; }
  cat "$job/out/out/wine-version" >>"$logs/prepare.log" 2>/dev/null
  rm -rf "$job"
  vm_stage "file system check" 300 "$logs/fsck.log" e2fsck -fy "$dir/system.img"
}

# Builds the image into DIR (through DIR.new, renamed when complete).
vm_build_image() {
  local dir=$1 work=$1.new t0=$SECONDS
  rm -rf "$work"; mkdir -p "$work/logs" || return 1
  VM_TIMES=$work/times
  vm_log "building the image in $work (minutes, once per recipe)"
  vm_build_root "$work/root" "$work/logs" &&
    vm_make_disk "$work/root" "$work" "$work/logs" &&
    { rm -rf "$work/root"; vm_prepare_image "$work" "$work/logs"; }
  local rc=$?
  vm_umount_below "$work/root"
  VM_CHROOT=
  vm_binfmt_off
  if [ "$rc" != 0 ]; then
    vm_log "image build failed; logs in $work/logs"
    VM_TIMES=/dev/null
    return "$rc"
  fi
  printf '%-36s %5ss\n' "whole image build" $((SECONDS - t0)) >>"$work/times"
  VM_TIMES=/dev/null
  rm -rf "$dir" && mv "$work" "$dir" && touch "$dir/ready"
  vm_log "image ready: $dir"
  cat "$dir/times" >&2
}

# Sets VM_IMAGE to the image folder, building it first if this recipe has
# none yet. Older images (other recipes) are removed once a new one is ready.
vm_ensure_image() {
  local dir; dir=$(vm_image_dir)
  mkdir -p "$VM_CACHE" || return 1
  exec {lock}>"$VM_CACHE/lock"
  if ! flock -w 7200 "$lock"; then vm_log "the image lock stayed taken"; exec {lock}>&-; return 1; fi
  local rc=0
  if [ ! -f "$dir/ready" ]; then
    if [ "$(id -u)" != 0 ]; then
      vm_log "building the image needs root (debootstrap, chroot, binfmt_misc)"; rc=1
    else
      vm_build_image "$dir" || rc=1
      if [ "$rc" = 0 ]; then
        local old
        for old in "$VM_CACHE"/*/; do
          old=${old%/}
          [ "$old" = "$dir" ] || { vm_log "removing the old image $old"; rm -rf "$old"; }
        done
      fi
    fi
  fi
  exec {lock}>&-
  [ "$rc" = 0 ] && VM_IMAGE=$dir
  return "$rc"
}

# --- jobs ----------------------------------------------------------------

# vm_boot IMAGE JOBDISK LIMIT snapshot|writable CONSOLE: one boot, bounded.
vm_boot() {
  local img=$1 disk=$2 limit=$3 mode=$4 console=$5
  local system="file=$img/system.img,if=virtio,format=raw"
  if [ "$mode" = writable ]; then system+=",cache=writeback"; else system+=",cache=unsafe,snapshot=on"; fi
  # The guest stops its job a minute early so that it can still hand back
  # what it has.
  local glimit=$((limit > 180 ? limit - 60 : limit * 2 / 3))
  # With SMAP every Wine process dies at an iret under TCG; the guest kernel
  # has no switch to turn it off, so the CPU does not offer it.
  timeout -k 10 "$limit" qemu-system-i386 \
    -machine pc,accel=tcg -cpu max,smap=off -smp "$VM_SMP" -m "$VM_MEM" \
    -nodefaults -display none -no-reboot -monitor none -serial "file:$console" \
    -kernel "$img/vmlinuz" -initrd "$img/initrd.img" \
    -append "root=/dev/vda rw console=ttyS0 quiet fsck.mode=skip panic=5 init=/sbin/embrix-init embrix.timeout=$glimit" \
    -drive "$system" -drive "file=$disk,if=virtio,format=raw,cache=writeback" \
    </dev/null >"$console.qemu" 2>&1 &
  VM_QEMU_PID=$!
  wait "$VM_QEMU_PID"
  local rc=$?
  VM_QEMU_PID=
  [ "$rc" = 124 ] && vm_log "the machine was stopped after ${limit}s"
  return "$rc"
}

# vm_run_job IMAGE OUTDIR LIMIT MODE SCRIPT [ABSPATH...]: boots once with
# SCRIPT as the job and the given host files at the same paths; unpacks the
# results to OUTDIR/out. Returns the job's status.
vm_run_job() {
  local img=$1 outdir=$2 limit=$3 mode=$4 script=$5; shift 5
  mkdir -p "$outdir" || return 1
  rm -rf "$outdir/out" "$outdir/job"
  local stage=$outdir/job disk=$outdir/job.disk list=$outdir/job.files
  mkdir -p "$stage/embrix-job"
  install -m 755 "$script" "$stage/embrix-job/run"
  cp "$VM_GUEST/guest-env.sh" "$stage/embrix-job/"
  [ -n "${VM_JOB_EXTRA:-}" ] && cp -r "$VM_JOB_EXTRA"/. "$stage/embrix-job/"
  tar -cf "$disk" --owner=0 --group=0 -C "$stage" embrix-job || return 1
  : >"$list"
  local p
  for p in "$@"; do
    case $p in /*) ;; *) vm_log "not an absolute path: $p"; return 1 ;; esac
    find "$p" -type f | sed 's|^/||' >>"$list"
  done
  if [ -s "$list" ]; then
    tar -rf "$disk" --owner=0 --group=0 --no-recursion -C / -T "$list" || return 1
  fi
  # Room for the results, which the guest writes over the job.
  local size; size=$(stat -c %s "$disk")
  truncate -s $(( (size / 1048576 + 257) * 1048576 )) "$disk"
  local t0=$SECONDS
  vm_log "booting ($mode, $(( size / 1048576 )) MiB in, at most ${limit}s)"
  vm_boot "$img" "$disk" "$limit" "$mode" "$outdir/console.log"
  local qrc=$?
  printf '%-36s %5ss  exit %s\n' "boot and job ($mode)" $((SECONDS - t0)) "$qrc" >>"$VM_TIMES"
  vm_log "machine ran $((SECONDS - t0))s"
  if ! tar -xf "$disk" -C "$outdir" out 2>/dev/null || [ ! -f "$outdir/out/status" ]; then
    vm_log "the machine handed back no results (qemu exit $qrc); its console:"
    tail -n 40 "$outdir/console.log" >&2
    cat "$outdir/console.log.qemu" >&2 2>/dev/null
    rm -f "$disk"
    return 1
  fi
  rm -f "$disk" "$list"; rm -rf "$stage"
  local status; status=$(cat "$outdir/out/status")
  if [ "$status" != 0 ]; then
    vm_log "the job ended with $status; its log:"
    tail -n 40 "$outdir/out/run.log" >&2
  fi
  # Screens saved as XWD become PNG where ImageMagick is at hand.
  if command -v convert >/dev/null; then
    find "$outdir/out" -name '*.xwd' | while IFS= read -r f; do
      convert "xwd:$f" "${f%.xwd}.png" 2>/dev/null && rm -f "$f"
    done
  fi
  return "$status"
}

# vm_ctest BUILD OUTDIR LIMIT [CTEST ARGS...]: the build's ctest inside the
# machine, with the saver, the test folder and the ctest files at the same
# paths as here. Prints ctest's output; returns its exit code.
vm_ctest() {
  local build=$1 outdir=$2 limit=$3; shift 3
  build=$(cd "$build" && pwd) || return 1
  [ -f "$build/CTestTestfile.cmake" ] || { vm_log "$build has no ctest files"; return 1; }
  vm_ensure_image || return 1
  local img=$VM_IMAGE extra; extra=$(mktemp -d)
  echo "$build" >"$extra/build-dir"
  : >"$extra/ctest-args"
  [ $# -eq 0 ] || printf '%s\n' "$@" >"$extra/ctest-args"
  echo "${EMBRIX_VM_TEST_LIMIT:-480}" >"$extra/test-limit"
  local paths=()
  mapfile -t paths < <(
    find "$build" -name CMakeFiles -prune -o \( -name CTestTestfile.cmake -o -name DartConfiguration.tcl \) -print
    find "$build" -maxdepth 1 -type f \( -name '*.scr' -o -name '*.exe' -o -name '*.dll' \)
    [ -d "$build/tests" ] && find "$build/tests" -name CMakeFiles -prune -o -type f \
      ! -name '*.cmake' ! -name Makefile ! -name '*.obj' ! -name '*.o' -print)
  VM_JOB_EXTRA=$extra vm_run_job "$img" "$outdir" "$limit" snapshot "$VM_GUEST/ctest-job" "${paths[@]}"
  local rc=$?
  rm -rf "$extra"
  [ -f "$outdir/out/ctest.log" ] && cat "$outdir/out/ctest.log"
  [ "$rc" = 0 ] || return "$rc"
  [ -f "$outdir/out/ctest.rc" ] || { vm_log "ctest did not finish in the machine"; return 1; }
  return "$(cat "$outdir/out/ctest.rc")"
}

# Ends what this shell started: the machine, chroot mounts, binfmt entry.
vm_cleanup() {
  if [ -n "$VM_QEMU_PID" ]; then
    kill "$VM_QEMU_PID" 2>/dev/null
    wait "$VM_QEMU_PID" 2>/dev/null
    VM_QEMU_PID=
  fi
  [ -n "$VM_CHROOT" ] && vm_umount_below "$VM_CHROOT"
  VM_CHROOT=
  vm_binfmt_off
}

# For tools/test: BUILD's suites inside the machine, chosen by the ctest
# arguments after BUILD, added to the caller's $passed and $failed; no
# results at all count as one failure. EMBRIX_SKIP_VM=1 skips them, but never
# under CI; a skip sets $vm_skipped for the summary.
vm_test_stage() {
  local build=$1 t0=$SECONDS; shift
  if [ -n "${EMBRIX_SKIP_VM:-}" ]; then
    if [ "${CI:-}" != true ]; then
      vm_log "32-bit stage skipped on request (EMBRIX_SKIP_VM): the i686 build's tests did not run"
      vm_skipped=1
      return 0
    fi
    vm_log "EMBRIX_SKIP_VM is ignored under CI"
  fi
  vm_log "tests: win32 under 32-bit Wine in the emulated PC"
  local out; out=$(mktemp)
  "$VM_TOOLS/vm" ctest "$build" "$@" >"$out"
  local summary total bad
  summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$out" | tail -1)
  if [ -z "$summary" ]; then
    cat "$out"
    vm_log "32-bit stage FAILED: no test results came back from the emulated PC"
    failed=$((failed + 1))
  else
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$summary")
    bad=$(sed -E 's/.*, ([0-9]+) tests? failed.*/\1/' <<<"$summary")
    passed=$((passed + total - bad)); failed=$((failed + bad))
    if [ "$bad" != 0 ]; then cat "$out"; else grep -E '^ *[0-9]+/[0-9]+ Test' "$out" >&2; fi
  fi
  rm -f "$out"
  vm_log "32-bit stage: $((SECONDS - t0))s"
}
