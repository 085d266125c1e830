# Sourced by the tests that write onto a full file system.
#
# on_small_disk MOUNTPOINT SCRIPT [ARGS…] runs `bash -c SCRIPT _ MOUNTPOINT ARGS…`
# with a 64 KB tmpfs mounted on MOUNTPOINT for it alone: in a mount namespace of
# its own (with a user namespace where not run as root). Inside a chroot the
# kernel makes neither, so root mounts it where it is and unmounts it after.
# Returns the script's status, or 77 where no file system can be mounted here.
on_small_disk() {
    local mountpoint=$1 script=$2
    shift 2
    local mounted="mount -t tmpfs -o size=64k tmpfs \"\$1\" || exit 99
$script"
    if [ "$(id -u)" -eq 0 ]; then
        if unshare --mount true 2>/dev/null; then
            unshare --mount bash -c "$mounted" _ "$mountpoint" "$@"
            return
        fi
        mount -t tmpfs -o size=64k tmpfs "$mountpoint" || return 77
        local status=0
        bash -c "$script" _ "$mountpoint" "$@" || status=$?
        umount "$mountpoint"
        return $status
    fi
    if unshare --user --map-root-user --mount true 2>/dev/null; then
        unshare --user --map-root-user --mount bash -c "$mounted" _ "$mountpoint" "$@"
        return
    fi
    return 77
}
