#!/usr/bin/env bash
# The release package: scripts/package.sh run in two clean copies of the commit, in folders of
# different names, gives the same zip byte for byte; the zip holds what a publisher needs; its
# programs carry their version and manifest as Windows reads them (under Wine); and with a
# throwaway certificate the programs are signed, their signatures verify, and half a signing
# setup fails instead of shipping unsigned.
#
#   package_test.sh SOURCE_DIR WORK_DIR RESOURCES_TEST_EXE
#
# Runs under the bench (scripts/bench.sh): WINEPREFIX and DISPLAY set.
set -euo pipefail
src=$1 work=$2 resources_test=$3

fail() {
    echo "FAILED: $*" >&2
    exit 1
}
# Runs the package command in a copy, its output kept in a log shown only on failure.
package() { # COPY LOG [ARGS...]
    local copy=$1 log=$2
    shift 2
    (cd "$copy" && scripts/package.sh "$@") >"$log" 2>&1
}
unpack() { # ZIP DIR
    python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$1" "$2"
}

head=$(git -C "$src" rev-parse HEAD)
if [ -n "$(git -C "$src" status --porcelain --untracked-files=no)" ]; then
    echo "note: the package of commit ${head:0:12} is tested; uncommitted changes are not in it"
fi
rm -rf "$work"
one=$work/one/tovak
two=$work/second-copy/tovak-release
for copy in "$one" "$two"; do
    git clone --quiet --shared --no-checkout "$src" "$copy"
    git -C "$copy" checkout --quiet --detach "$head"
done

# ---- Two builds from clean, the same zip
start=$SECONDS
for copy in "$one" "$two"; do
    package "$copy" "$copy.log" || { tail -30 "$copy.log"; fail "scripts/package.sh in $copy"; }
done
echo "two packages built in $((SECONDS - start)) s"
zips=("$one"/build/package/tovak-*-windows.zip)
[ ${#zips[@]} = 1 ] && [ -f "${zips[0]}" ] || fail "no single zip in $one/build/package"
name=${zips[0]##*/}
version=${name#tovak-}
version=${version%-windows.zip}
cmp "$one/build/package/$name" "$two/build/package/$name" || fail "the two zips differ"
(cd "$one/build/package" && sha256sum -c --quiet SHA256SUMS) || fail "SHA256SUMS does not match"
echo "both builds: $(cat "$one/build/package/SHA256SUMS")"
echo "             $(cat "$two/build/package/SHA256SUMS")"
grep -q "Not signed" "$one.log" || fail "the package command does not say that it signed nothing"

# ---- What the zip holds
listing=$(python3 - "$one/build/package/$name" <<'EOF'
import sys, zipfile
for entry in zipfile.ZipFile(sys.argv[1]).infolist():
    print("%9d  %04d-%02d-%02d %02d:%02d  %s" % ((entry.file_size,) + entry.date_time[:5] +
                                                (entry.filename,)))
EOF
)
echo "$listing"
expected="LICENSE README.md SIGNATURE.txt gifinfo.exe sample/arcade.exe sample/exitnag.gif
sample/game.htm sample/options.gif sample/title.gif sample/tovak.ini sample/tovak_logo.gif
tovak-check.exe tovak.exe x86/tovak.exe"
[ "$(echo "$listing" | awk '{print $4}' | xargs)" = "$(echo $expected)" ] ||
    fail "the zip's entries are not: $expected"
unsigned=$work/unsigned
unpack "$one/build/package/$name" "$unsigned"
for program in tovak.exe tovak-check.exe gifinfo.exe; do
    x86_64-w64-mingw32-objdump -f "$unsigned/$program" | grep -q "file format pei-x86-64" ||
        fail "$program is not a 64-bit program"
done
i686-w64-mingw32-objdump -f "$unsigned/x86/tovak.exe" | grep -q "file format pei-i386" ||
    fail "x86/tovak.exe is not a 32-bit program"
grep -q "not signed" "$unsigned/SIGNATURE.txt" || fail "SIGNATURE.txt of an unsigned package"
if osslsigncode verify -in "$unsigned/tovak.exe" >/dev/null 2>&1; then
    fail "the unsigned package's tovak.exe has a signature"
fi

# ---- The packaged programs under Wine: version, resources, manifest, the sample checks clean
[ "$(wine "$unsigned/tovak-check.exe" --version | tr -d '\r')" = "tovak-check $version" ] ||
    fail "tovak-check.exe --version does not print the package's version $version"
TOVAK_EXE="Z:$unsigned/tovak.exe" wine "$resources_test" || fail "the packaged programs' resources"
(cd "$unsigned" && wine ./tovak-check.exe sample) || fail "the packaged sample does not check clean"

# ---- Signing with a throwaway certificate
cert=$work/cert
mkdir -p "$cert"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tovak test signing" \
    -addext "extendedKeyUsage=codeSigning" -keyout "$cert/key.pem" -out "$cert/cert.pem" \
    2>/dev/null
password="throwaway $$"
openssl pkcs12 -export -inkey "$cert/key.pem" -in "$cert/cert.pem" -out "$cert/test.pfx" \
    -passout "pass:$password"

# Half a setup, or a wrong password, fails.
if TOVAK_SIGN_PFX=$cert/test.pfx package "$two" "$work/half.log" --keep-build; then
    fail "a certificate without its password packaged anyway"
fi
if TOVAK_SIGN_PFX=$cert/test.pfx TOVAK_SIGN_PASSWORD=wrong package "$two" "$work/wrong.log" \
    --keep-build; then
    fail "a wrong password packaged anyway"
fi
[ ! -e "$two/build/package/$name" ] || fail "a failed signing left a zip behind"

TOVAK_SIGN_PFX=$cert/test.pfx TOVAK_SIGN_PASSWORD=$password package "$two" "$two.signed.log" \
    --keep-build || { tail -30 "$two.signed.log"; fail "signed packaging"; }
signed=$work/signed
unpack "$two/build/package/$name" "$signed"
grep -q "are signed" "$signed/SIGNATURE.txt" || fail "SIGNATURE.txt of a signed package"
for program in tovak.exe x86/tovak.exe tovak-check.exe gifinfo.exe sample/arcade.exe; do
    result=$(osslsigncode verify -CAfile "$cert/cert.pem" -in "$signed/$program" 2>&1) ||
        { echo "$result"; fail "$program: the signature does not verify"; }
    echo "$program: $(echo "$result" | grep -E "^Signature verification" | head -1)"
done
(cd "$two/build/package" && sha256sum -c --quiet SHA256SUMS) || fail "SHA256SUMS of the signed zip"
# A signed program still runs.
[ "$(wine "$signed/tovak-check.exe" --version | tr -d '\r')" = "tovak-check $version" ] ||
    fail "the signed tovak-check.exe does not run"

echo "package test passed in $SECONDS s"
rm -rf "$work"
