#!/bin/sh
# What a built program or library may hold. Programs import only the system
# DLLs that Windows always loads from the system directory; the spooler,
# SetupAPI and the shell are delay-loaded (GNU ld leaves the delay-import
# directory empty, so their names are looked for in the image). Programs and libraries alike
# are built for ASLR with high entropy and NX, and ship without debug
# sections.
# Usage: check-imports.sh PROGRAM... -- LIBRARY...
objdump=x86_64-w64-mingw32-objdump
allowed="advapi32.dll gdi32.dll kernel32.dll msvcrt.dll user32.dll"
delayed="WINSPOOL.DRV SETUPAPI.dll SHELL32.dll"
status=0

fail() { echo "$*"; status=1; }

# IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA 0x20, DYNAMIC_BASE 0x40, NX_COMPAT 0x100
check_hardening() {
    flags=$($objdump -p "$1" | sed -n 's/^DllCharacteristics[[:space:]]*//p')
    [ -n "$flags" ] || { fail "$1: no DllCharacteristics"; return; }
    [ $((0x$flags & 0x160)) = $((0x160)) ] || fail "$1: DllCharacteristics $flags lacks ASLR, high entropy or NX"
    sections=$($objdump -h "$1" | awk '$2 ~ /^\.debug/ { print $2 }' | tr '\n' ' ')
    [ -z "$sections" ] || fail "$1: debug sections $sections"
    echo "$1: DllCharacteristics $flags"
}

libraries=0
for file in "$@"; do
    [ "$file" = "--" ] && { libraries=1; continue; }
    check_hardening "$file"
    [ $libraries = 1 ] && continue
    dlls=$($objdump -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
    [ "$dlls" = "$allowed " ] || fail "$file imports $dlls, not exactly $allowed"
    for dll in $delayed; do
        grep -q -a "$dll" "$file" || fail "$file does not delay-load $dll"
    done
    echo "$file imports $dlls and delay-loads $delayed"
done
exit $status
