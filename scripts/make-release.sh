#!/bin/sh
# Makes the archive an administrator downloads, dist/<name>-<version>.zip:
# the two programs, the setup information file, the driver's and the print
# processor's files, README.TXT for the administrator and SHA256SUMS, all at
# the top of the archive, to be unpacked into C:\TARVOK. The version is the
# one of the setup information file's DriverVer line, which the programs
# carry too. The platform's Unidrv files are not ours to ship: the build's
# stand-ins stay out, and README.TXT says where the real ones come from.
#
# make-release.sh [--no-build] [--build-dir DIR] [--output DIR]
# Builds the package in DIR (build) unless --no-build, then writes the
# archive into the output folder (dist) and prints its path.
set -eu
cd "$(dirname "$0")/.."
top=$PWD
name=tarvok-qlp-rm550
build=1
dir=build
output=dist
while [ $# -gt 0 ]; do
    case "$1" in
        --no-build) build=0; shift ;;
        --build-dir) dir=$2; shift 2 ;;
        --output) output=$2; shift 2 ;;
        *) echo "make-release: unknown argument $1" >&2; exit 2 ;;
    esac
done

if [ "$build" = 1 ]; then
    if [ "$dir" = build ]; then
        ./scripts/build.sh package
    else
        cmake --build "$dir" --target package -j"$(nproc)"
    fi
fi
package=$dir/package
[ -f "$package/QLRM550.INF" ] || { echo "make-release: no built package in $package" >&2; exit 1; }
version=$(sed -n 's/^DriverVer[[:space:]]*=[^,]*,[[:space:]]*\([0-9.]*\)[[:space:]]*$/\1/p' "$package/QLRM550.INF")
expr "$version" : '[0-9]\{1,\}\.[0-9]\{1,\}\.[0-9]\{1,\}\.[0-9]\{1,\}$' >/dev/null ||
    { echo "make-release: no one version w.x.y.z in the DriverVer line of $package/QLRM550.INF" >&2; exit 1; }

stage=$(mktemp -d "${TMPDIR:-/tmp}/tarvok-release.XXXXXX")
trap 'rm -rf "$stage"' EXIT
for file in "$package"/*; do
    # The stand-ins the build made for the platform's Unidrv files.
    [ -e "$dir/stand-ins/$(basename "$file")" ] || cp -p "$file" "$stage/"
done
sed "s/@VERSION@/$version/" package/README.TXT >"$stage/README.TXT"
(cd "$stage" && sums=$(sha256sum -- *) && printf '%s\n' "$sums" >SHA256SUMS)

mkdir -p "$output"
archive=$(cd "$output" && pwd)/$name-$version.zip
rm -f "$archive"
(cd "$stage" && python3 - "$archive" * <<'PYTHON'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as archive:
    for name in sys.argv[2:]:
        archive.write(name)
PYTHON
)
echo "${archive#"$top"/}"
