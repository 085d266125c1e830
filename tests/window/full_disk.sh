#!/usr/bin/env bash
# Runs the full-disk tests on a 64 KB file system mounted for them alone.
# $1: the full_disk_tests program. Exits 77 (skipped) where none can be mounted.
set -u
source "$(dirname "$0")/../support/small_disk.sh"
program=$1
mountpoint=$(mktemp -d)
trap 'rmdir "$mountpoint"' EXIT
status=0
on_small_disk "$mountpoint" 'RATALIA_FULL_DISK=$1 "$2"' "$program" || status=$?
[ $status -ne 77 ] || echo "skipped: no small file system can be mounted here" >&2
exit $status
