# Sourced by the scripts whose private session bus starts the document portal,
# which mounts a FUSE file system under the private home they remove.
# unmount_under DIR: lets go of the FUSE file systems still mounted under DIR.
unmount_under() {
  local mount
  while read -r _ mount _; do
    [[ $mount == "$1"/* ]] || continue
    fusermount -u -z "$mount" 2>/dev/null || umount -l "$mount" 2>/dev/null || true
  done </proc/mounts
}
