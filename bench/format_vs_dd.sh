#!/usr/bin/env bash
# Full format against dd, quick format against the bare mkfs tool, on the same 1 GiB loop
# device and image file, in one run. Needs root (loop devices) and a build in build/.
#   bench/format_vs_dd.sh [BUILD_DIR] [SIZE_MIB]
# Goals: full format <= 1.05 x dd; quick format <= 1.2 x bare mkfs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
size_mib=${2:-1024}
bench=$build/bench/format_library_bench
[ -x "$bench" ] || { echo "build $bench first" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || { echo "needs root for the loop device" >&2; exit 1; }

work=$(mktemp -d)
loop=""
cleanup() { [ -n "$loop" ] && losetup -d "$loop" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT

image=$work/bench.img
truncate -s "${size_mib}M" "$image"
loop=$(losetup --find --show "$image")
case "$loop" in /dev/loop*) ;; *) echo "not a loop device: $loop" >&2; exit 1 ;; esac

seconds() { # runs "$@", prints the wall-clock seconds
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l
}
ratio() { printf '%.2f' "$(echo "$1 / $2" | bc -l)"; }
median() { printf "%s\n" "$@" | sort -g | sed -n "$(( ($# + 1) / 2 ))p"; }

own5() { # median of five runs of the bench program, by its own clock around "FormatEx"
    local times=() i
    for i in 1 2 3 4 5; do times+=("$("$@" 2>/dev/null || echo 999)"); done
    median "${times[@]}"
}
run5() { # median of five runs of "$@"
    local times=() i
    for i in 1 2 3 4 5; do times+=("$(seconds "$@")"); done
    median "${times[@]}"
}

dd_loop() { dd if=/dev/zero of="$loop" bs=4M count=$((size_mib / 4)) oflag=direct; }
dd_loop_fsync() { dd if=/dev/zero of="$loop" bs=4M count=$((size_mib / 4)) oflag=direct conv=fsync; }
dd_image() { dd if=/dev/zero of="$image" bs=4M count=$((size_mib / 4)) oflag=direct conv=notrunc; }
mkfs_loop() { mkfs.fat -F 32 -n BENCH "$loop"; }
mkfs_image() { mkfs.fat -F 32 -n BENCH "$image"; }
detach() { losetup -d "$loop"; loop=""; }

echo "== ${size_mib} MiB loop device $loop"
t_dd=$(run5 dd_loop)
t_ddsync=$(run5 dd_loop_fsync)
t_fast=$(own5 "$bench" "$loop" FAT32 full fastest)
t_writes=$(own5 "$bench" "$loop" FAT32 full writes)
t_mkfs=$(run5 mkfs_loop)
t_quick=$(own5 "$bench" "$loop" FAT32 quick)
printf 'dd bs=4M oflag=direct      %7.3f s\n' "$t_dd"
printf 'dd ... conv=fsync          %7.3f s\n' "$t_ddsync"
printf 'full format (fastest)      %7.3f s  ratio %s\n' "$t_fast" "$(ratio "$t_fast" "$t_dd")"
printf 'full format (direct writes)%7.3f s  ratio %s\n' "$t_writes" "$(ratio "$t_writes" "$t_dd")"
printf 'mkfs.fat -F 32             %7.3f s\n' "$t_mkfs"
printf 'quick format FAT32         %7.3f s  ratio %s\n' "$t_quick" "$(ratio "$t_quick" "$t_mkfs")"
detach

echo "== ${size_mib} MiB image file"
t_dd=$(run5 dd_image)
t_fast=$(own5 "$bench" "$image" FAT32 full fastest)
t_writes=$(own5 "$bench" "$image" FAT32 full writes)
t_mkfs=$(run5 mkfs_image)
t_quick=$(own5 "$bench" "$image" FAT32 quick)
printf 'dd bs=4M oflag=direct      %7.3f s\n' "$t_dd"
printf 'full format (holes)        %7.3f s  ratio %s\n' "$t_fast" "$(ratio "$t_fast" "$t_dd")"
printf 'full format (writes)       %7.3f s  ratio %s\n' "$t_writes" "$(ratio "$t_writes" "$t_dd")"
printf 'mkfs.fat -F 32             %7.3f s\n' "$t_mkfs"
printf 'quick format FAT32         %7.3f s  ratio %s\n' "$t_quick" "$(ratio "$t_quick" "$t_mkfs")"
