#!/usr/bin/env bash
# Builds KAVO's Debian package and installs it with apt into a clean, minimal Debian 12 root
# (debootstrap, chroot), as a user's machine would get it; then checks the installed programs:
# both print their version, kavo-cli checks the installed example case, and kavo starts on it
# with the offscreen platform. Needs root (chroot, mounting /proc) and the package mirror.
#
#   scripts/check-package.sh [BUILD-FOLDER]      (default: build)
#
# The bare root is kept as a tar file in KAVO_PACKAGE_CACHE (default /tmp/kavo-package) and made
# again only when it is missing; each run unpacks a fresh copy of it.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
cache=${KAVO_PACKAGE_CACHE:-/tmp/kavo-package}
root=$cache/root

fail() {
    echo "check-package: $*" >&2
    exit 1
}
step() { echo "== $*"; }

[ "$(id -u)" -eq 0 ] || fail "needs root (chroot)"
for tool in debootstrap dpkg-shlibdeps cpack; do
    command -v "$tool" >/dev/null || fail "needs $tool (packages debootstrap, dpkg-dev, cmake)"
done

step "building the package in $build"
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -G Ninja
cmake --build "$build"
rm -f "$build"/kavo_*.deb
(cd "$build" && cpack -G DEB >/dev/null) || fail "cpack failed"
package=$(ls "$build"/kavo_*.deb)
dpkg-deb --info "$package" | sed -n 's/^ \(Package\|Version\|Depends\):/  \1:/p'

step "checking the desktop entry, the metainfo and the package (lintian)"
contents=$(mktemp -d)
trap 'rm -rf "$contents"' EXIT
dpkg-deb -x "$package" "$contents"
desktop-file-validate "$contents/usr/share/applications/kavo.desktop" || fail "desktop entry not valid"
appstreamcli validate --no-net "$contents"/usr/share/metainfo/*.metainfo.xml >/dev/null ||
    fail "metainfo not valid"
if command -v lintian >/dev/null; then
    lintian --fail-on error,warning --tag-display-limit 0 "$package" 2>/dev/null ||
        fail "lintian found faults in the package"
fi

step "making a clean Debian 12 root"
mkdir -p "$cache"
if [ ! -f "$cache/root.tar" ]; then
    if [ -f /tmp/kavo-fresh/root.tar ]; then
        cp /tmp/kavo-fresh/root.tar "$cache/root.tar"
    else
        mirror=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n 1)
        rm -rf "$cache/base"
        debootstrap --variant=minbase bookworm "$cache/base" "${mirror:-http://deb.debian.org/debian}" \
            >"$cache/debootstrap.log" 2>&1 || fail "debootstrap failed (log: $cache/debootstrap.log)"
        tar -C "$cache/base" -cf "$cache/root.tar" . && rm -rf "$cache/base"
    fi
fi
umount "$root/proc" 2>/dev/null || true
rm -rf "$root"
mkdir -p "$root"
tar -C "$root" -xf "$cache/root.tar"
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
# The same mirror as this machine's, in place of the root's own list.
if cp /etc/apt/sources.list.d/debian.sources "$root/etc/apt/sources.list.d/" 2>/dev/null; then
    rm -f "$root/etc/apt/sources.list"
fi
cp "$package" "$root/tmp/"
mount -t proc proc "$root/proc"
trap 'umount "$root/proc" 2>/dev/null; rm -rf "$contents"' EXIT

step "installing the package with apt and trying it"
chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
    DEBIAN_FRONTEND=noninteractive bash -euo pipefail -c '
    # The root has no terminals for dpkg to log through.
    echo "Dpkg::Use-Pty \"0\";" >/etc/apt/apt.conf.d/90no-pty
    apt-get update -qq
    apt-get install -y -qq /tmp/kavo_*.deb >/tmp/apt.log 2>&1 || { tail -n 20 /tmp/apt.log; exit 1; }
    echo "installed: $(dpkg-query -W -f="\${Package} \${Version}" kavo)"
    kavo --version
    kavo-cli --version
    test -s /usr/share/man/man1/kavo-cli.1.gz
    test -s /usr/share/icons/hicolor/scalable/apps/kavo.svg
    kavo-cli check /usr/share/kavo/examples/Water
    # kavo runs until its window is closed: still running after the time out means it started.
    status=0
    QT_QPA_PLATFORM=offscreen timeout 15 kavo /usr/share/kavo/examples/Water >/tmp/kavo.log 2>&1 ||
        status=$?
    if [ "$status" -ne 124 ]; then
        cat /tmp/kavo.log
        echo "kavo ended with status $status instead of running"
        exit 1
    fi
    echo "kavo started on the example case"
    apt-get remove -y -qq kavo >/dev/null
    test ! -e /usr/bin/kavo && test ! -e /usr/bin/kavo-cli
' || fail "the installed package does not work (root kept in $root)"

step "the package works in a clean Debian 12: $(basename "$package")"
