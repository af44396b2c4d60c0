#!/bin/sh
# Fails when a program imports any DLL other than the Windows system DLLs:
# the runtime must be linked in, never shipped beside the programs.
allowed="kernel32.dll user32.dll gdi32.dll advapi32.dll winspool.drv setupapi.dll msvcrt.dll comctl32.dll shell32.dll ole32.dll"
status=0
for exe in "$@"; do
    dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
    [ -n "$dlls" ] || { echo "$exe: no import table found"; status=1; continue; }
    for dll in $dlls; do
        case " $allowed " in
            *" $dll "*) echo "$exe imports $dll" ;;
            *) echo "$exe imports $dll, which is not a system DLL"; status=1 ;;
        esac
    done
done
exit $status
