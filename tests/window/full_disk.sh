#!/usr/bin/env bash
# Runs the full-disk tests on a 64 KB file system mounted for them alone, in a
# mount namespace of their own (a user namespace too where not run as root).
# $1: the full_disk_tests program.
set -u
program=$1
mountpoint=$(mktemp -d)
trap 'rmdir "$mountpoint"' EXIT
namespace=(--mount)
[ "$(id -u)" -eq 0 ] || namespace=(--user --map-root-user --mount)
unshare "${namespace[@]}" bash -c 'mount -t tmpfs -o size=64k tmpfs "$1" || exit 1
    RATALIA_FULL_DISK=$1 exec "$2"' _ "$mountpoint" "$program"
