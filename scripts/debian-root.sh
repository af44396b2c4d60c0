#!/bin/sh
# Makes a fresh Debian root with debootstrap, from the Debian archive this
# machine's apt uses, and runs a command in it as root: this work tree is
# bound at the same path inside, so a tree built outside runs there as it is.
# The root lives in a new folder and is unmounted and deleted on exit.
#
# debian-root.sh SUITE COMMAND
#     debian-root.sh trixie 'scripts/setup-deps.sh && cd build && ctest'
# Set KEEP_DEBIAN_ROOT=1 to keep the root (its path is printed).
set -eu
[ $# = 2 ] || { echo "usage: debian-root.sh SUITE COMMAND" >&2; exit 2; }
suite=$1
command=$2
top=$(cd "$(dirname "$0")/.." && pwd)
[ "$(id -u)" = 0 ] || { echo "debian-root: needs root (debootstrap, chroot, mount)" >&2; exit 2; }

# The archive and security archive named in this machine's apt sources, in
# either format; Debian's own addresses when there are none.
archive_uri() {
    cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources 2>/dev/null |
        sed -n -e 's/^URIs:[[:space:]]*//p' -e 's/^deb[[:space:]]\{1,\}\(\[[^]]*\][[:space:]]*\)\{0,1\}//p' |
        awk '{ print $1 }' | grep -E "$1" | head -n 1
}
mirror=$(archive_uri '/debian/?$'); mirror=${mirror:-http://deb.debian.org/debian}
security=$(archive_uri '/debian-security/?$'); security=${security:-http://deb.debian.org/debian-security}

command -v debootstrap >/dev/null || {
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
}

root=$(mktemp -d "${DEBIAN_ROOTS:-/var/tmp}/debian-$suite.XXXXXX")
chmod 755 "$root"

# Unmounts everything under the root, and deletes it only when nothing is
# mounted there any more: deleting through a live bind of /dev would delete
# the machine's device nodes.
cleanup() {
    status=$?
    for point in $(awk -v r="$root" 'index($2, r "/") == 1 { print $2 }' /proc/self/mounts | sort -r); do
        umount -R "$point" 2>/dev/null || umount -l "$point" 2>/dev/null || true
    done
    if [ -n "${KEEP_DEBIAN_ROOT:-}" ]; then
        echo "debian-root: kept $root" >&2
    elif awk -v r="$root" 'index($2, r "/") == 1 { found = 1 } END { exit !found }' /proc/self/mounts; then
        echo "debian-root: $root still has mounts; not deleted" >&2
    else
        rm -rf --one-file-system "$root"
    fi
    exit $status
}
trap cleanup EXIT
trap 'exit 130' INT TERM

echo "debian-root: debootstrap $suite from $mirror into $root" >&2
started=$(date +%s)
debootstrap --variant=minbase "$suite" "$root" "$mirror" >"$root.log" 2>&1 ||
    { tail -n 30 "$root.log" >&2; rm -f "$root.log"; exit 1; }
rm -f "$root.log"
echo "debian-root: made the root in $(($(date +%s) - started)) s" >&2
cat >"$root/etc/apt/sources.list" <<EOF
deb $mirror $suite main
deb $mirror $suite-updates main
deb $security $suite-security main
EOF
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
# No service starts inside the root.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"

mount -t proc proc "$root/proc"
mount -t sysfs sys "$root/sys"
mount --rbind /dev "$root/dev"
mount --make-rslave "$root/dev"
mount --bind /tmp "$root/tmp"
mkdir -p "$root$top"
mount --bind "$top" "$root$top"

# /tmp is the machine's own, so a TMPDIR under it holds inside too.
tmpdir=""
case "${TMPDIR:-}" in /tmp | /tmp/*) tmpdir="TMPDIR=$TMPDIR" ;; esac
chroot "$root" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    HOME=/root TERM="${TERM:-dumb}" CI="${CI:-}" $tmpdir \
    sh -c "cd '$top' && $command"
