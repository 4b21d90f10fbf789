#!/usr/bin/env bash
# Builds the Windows release from clean and writes build/package/tovak-VERSION-windows.zip,
# with SHA256SUMS beside it:
#
#   scripts/package.sh [--keep-build]
#
# The zip holds tovak.exe (64-bit), x86/tovak.exe (32-bit), tovak-check.exe, gifinfo.exe,
# README.md, LICENSE, SIGNATURE.txt (whether the programs are signed) and the sample game with
# its arcade game in sample/. Every file in it carries the time of the commit it is built from
# (SOURCE_DATE_EPOCH, when set, instead), and its entries come in a fixed order, so two builds
# of one commit give the same zip byte for byte, wherever they are built.
#
# Signing: with TOVAK_SIGN_PFX (a PKCS#12 file holding the certificate and its key) and
# TOVAK_SIGN_PASSWORD (its password, possibly empty) set, every program is signed with
# Authenticode (osslsigncode, SHA-256) before it is zipped; TOVAK_SIGN_TIMESTAMP, an RFC 3161
# time-stamping address, adds a countersignature so that the signature outlives the
# certificate. A signature records the time of signing, so signed zips differ from build to
# build.
#
# --keep-build builds in the package's existing build folders instead of new ones (for tests
# that package one build twice, e.g. unsigned and signed).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=$root/build/package

keep_build=0
case "${1:-}" in
"") ;;
--keep-build) keep_build=1 ;;
*)
    echo "usage: scripts/package.sh [--keep-build]" >&2
    exit 2
    ;;
esac

# Signing is asked for or not; half of it is a mistake, not a reason to ship unsigned.
sign=0
if [ -n "${TOVAK_SIGN_PFX:-}" ]; then
    if [ ! -f "$TOVAK_SIGN_PFX" ]; then
        echo "package.sh: TOVAK_SIGN_PFX: no such file: $TOVAK_SIGN_PFX" >&2
        exit 2
    fi
    if [ -z "${TOVAK_SIGN_PASSWORD+set}" ]; then
        echo "package.sh: TOVAK_SIGN_PFX is set but TOVAK_SIGN_PASSWORD is not" >&2
        exit 2
    fi
    sign=1
elif [ -n "${TOVAK_SIGN_PASSWORD:-}" ]; then
    echo "package.sh: TOVAK_SIGN_PASSWORD is set but TOVAK_SIGN_PFX is not" >&2
    exit 2
fi

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    if ! SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null); then
        echo "package.sh: not a git checkout: set SOURCE_DATE_EPOCH to the sources' time" >&2
        exit 2
    fi
    if [ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ]; then
        echo "package.sh: warning: uncommitted changes are packaged with the time of" \
            "$(git -C "$root" rev-parse --short HEAD)" >&2
    fi
fi
# The linker and strip write it into the programs' PE headers.
export SOURCE_DATE_EPOCH

bash scripts/deps.sh

# Nothing of an earlier package stays to be taken for this one's, should this one fail.
if [ "$keep_build" = 0 ]; then
    rm -rf "$out"
fi
stage=$out/stage
rm -rf "$stage" "$out"/tovak-*-windows.zip "$out/SHA256SUMS"
mkdir -p "$out"
build() { # PRESET TARGET...
    local preset=$1
    shift
    cmake --preset "$preset" -B "$out/$preset" >/dev/null
    cmake --build "$out/$preset" -j2 --target "$@"
}
build win64 tovak tovak-check gifinfo sample
build win32 tovak

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/win64/CMakeCache.txt")
mkdir -p "$stage/x86" "$stage/sample"

# tovak.exe is stripped by its build (its debugging information stays in the build folder, in
# tovak.debug); the other programs are stripped here.
cp "$out/win64/tovak.exe" "$stage/tovak.exe"
cp "$out/win32/tovak.exe" "$stage/x86/tovak.exe"
for program in tovak-check gifinfo; do
    x86_64-w64-mingw32-strip --strip-all -o "$stage/$program.exe" "$out/win64/$program.exe"
done
for file in "$out/win64/sample"/*; do
    case $file in
    *.exe) x86_64-w64-mingw32-strip --strip-all -o "$stage/sample/${file##*/}" "$file" ;;
    *) cp "$file" "$stage/sample/" ;;
    esac
done
cp README.md LICENSE "$stage/"

programs=(tovak.exe x86/tovak.exe tovak-check.exe gifinfo.exe sample/arcade.exe)
if [ "$sign" = 1 ]; then
    timestamp=()
    if [ -n "${TOVAK_SIGN_TIMESTAMP:-}" ]; then
        timestamp=(-ts "$TOVAK_SIGN_TIMESTAMP")
    fi
    for program in "${programs[@]}"; do
        # The password goes through a pipe, not the command line that other users can read.
        printf '%s' "$TOVAK_SIGN_PASSWORD" |
            osslsigncode sign -pkcs12 "$TOVAK_SIGN_PFX" -readpass - -h sha256 -n "Tovak" \
                "${timestamp[@]}" -in "$stage/$program" -out "$stage/$program.signed" >/dev/null
        mv "$stage/$program.signed" "$stage/$program"
        echo "Signed $program"
    done
    printf 'The programs in this package (%s) are signed with Authenticode.\r\n' \
        "${programs[*]}" >"$stage/SIGNATURE.txt"
else
    printf 'The programs in this package are not signed.\r\n' >"$stage/SIGNATURE.txt"
    echo "Not signed: set TOVAK_SIGN_PFX and TOVAK_SIGN_PASSWORD to sign the programs."
fi

zip=$out/tovak-$version-windows.zip
python3 - "$stage" "$zip" "$SOURCE_DATE_EPOCH" <<'EOF'
# Writes the zip with fixed entry times (the sources' time, as UTC: a zip's times carry no time
# zone), fixed attributes, and the entries in the byte order of their names.
import os, sys, time, zipfile

stage, target, epoch = sys.argv[1], sys.argv[2], int(sys.argv[3])
stamp = time.gmtime(max(epoch, 315532800))[:6]  # a zip cannot hold times before 1980
names = []
for folder, _, files in os.walk(stage):
    for name in files:
        names.append(os.path.relpath(os.path.join(folder, name), stage).replace(os.sep, "/"))
with zipfile.ZipFile(target, "w") as archive:
    for name in sorted(names, key=lambda n: n.encode()):
        entry = zipfile.ZipInfo(name, date_time=stamp)
        entry.create_system = 3  # Unix, so that the permissions below are read
        entry.external_attr = (0o100755 if name.endswith(".exe") else 0o100644) << 16
        entry.compress_type = zipfile.ZIP_DEFLATED
        with open(os.path.join(stage, name), "rb") as source:
            archive.writestr(entry, source.read(), compresslevel=9)
EOF
(cd "$out" && sha256sum "${zip##*/}" >SHA256SUMS)
echo "Wrote $zip"
cat "$out/SHA256SUMS"
