#!/bin/sh
# Installs what building and testing need, from the Debian release's own
# packages: Debian 12 (bookworm) or Debian 13 (trixie). When everything is
# present it only checks and returns.
set -eu

# The packages whose names differ between the releases: the clang whose
# libFuzzer and sanitizer runtime the fuzzers link (compiler-rt of the same
# version), the mingw-w64 cross compiler with the posix thread model that
# GoogleTest needs, and Wine: the `wine` launcher with the 64-bit loader of
# `wine64` (/usr/lib/wine/wine64), no 32-bit part.
release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
case "$release" in
    bookworm) RELEASE_PKGS="clang-14 libclang-rt-14-dev g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
                            wine wine64" ;;
    trixie)   RELEASE_PKGS="clang-19 libclang-rt-19-dev g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
                            wine wine64" ;;
    *) echo "setup-deps: Debian 12 (bookworm) or 13 (trixie) is needed, not '$release'" >&2; exit 1 ;;
esac
PKGS="$RELEASE_PKGS clang cmake make xvfb xauth x11-apps x11-utils imagemagick locales fonts-nanum fonts-wine
      googletest python3"

missing=""
for p in $PKGS; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done

SUDO=""
[ "$(id -u)" = 0 ] || SUDO="sudo"

if [ -n "$missing" ]; then
    echo "setup-deps: installing$missing"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
fi

# Wine takes its ANSI code page from the glibc locale, which must exist.
if ! locale -a 2>/dev/null | grep -qi '^ko_KR\.utf-\?8$'; then
    echo "setup-deps: generating ko_KR.UTF-8"
    grep -q '^ko_KR.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null ||
        echo "ko_KR.UTF-8 UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null
fi
