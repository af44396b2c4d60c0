#!/bin/sh
# Installs what building and testing need, from Debian 12's own packages.
# When everything is present it only checks and returns.
set -eu

PKGS="g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 cmake make clang libclang-rt-14-dev
      wine wine64 xvfb xauth x11-apps x11-utils imagemagick locales fonts-nanum fonts-wine
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
