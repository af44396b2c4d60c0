#!/bin/sh
# Makes the delay-load import library of one system DLL from mingw-w64's own
# import library: nm lists the DLL's functions, dlltool writes the library.
# dlltool names its symbols after the output file, so it runs beside it.
# Usage: make-delay-lib.sh NM DLLTOOL IMPORT-LIBRARY DLL-NAME DEF-FILE OUTPUT
set -eu
nm=$1 dlltool=$2 implib=$3 dll=$4 def=$5 lib=$6
{
    echo "LIBRARY \"$dll\""
    echo "EXPORTS"
    "$nm" "$implib" | awk '$2 == "T" { print $3 }' | sort -u
} >"$def"
cd "$(dirname "$lib")"
"$dlltool" --input-def "$def" --dllname "$dll" --output-delaylib "$(basename "$lib")"
