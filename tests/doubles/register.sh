#!/bin/sh
# Registers the test doubles in the bench's Wine prefix and checks that the entries are there.
# Usage: register.sh REG_FILE DLL
set -eu
reg_file=$1
dll=$2
[ -f "$dll" ] || { echo "missing $dll"; exit 1; }
wine regedit /S "$reg_file"

# Prints the key's values. Now and then (once in several hundred runs here) `wine reg query`
# fails on a key that is there, so a key counts as missing only after three tries. What a
# failed try printed goes to the log.
query() {
    for try in 1 2 3; do
        if out=$(wine reg query "$1" 2>&1) && [ -n "$out" ]; then
            printf '%s\n' "$out"
            return 0
        fi
        printf 'wine reg query %s, try %s: [%s]\n' "$1" "$try" "$out" >&2
        [ "$try" = 3 ] || sleep 0.5
    done
    return 1
}

for key in 'HKEY_CLASSES_ROOT\CLSID\{2F5B68B3-922A-47E5-AB7F-8EC8EE9441B8}\InprocServer32' \
           'HKEY_CLASSES_ROOT\CLSID\{BB6ED718-E1A1-40BE-ADB6-BE2B425D2DAE}\InprocServer32' \
           'HKEY_CLASSES_ROOT\CLSID\{957FEEA5-F307-45B2-B2AD-10049E792341}\InprocServer32' \
           'HKEY_CLASSES_ROOT\CLSID\{6C1E0F1A-58D4-4E0B-9C4B-2A7D3F5E8B61}\InprocServer32'; do
    if ! query "$key" | grep -qi 'tovak_doubles.dll'; then
        echo "not registered: $key"
        exit 1
    fi
done
for progid in ShockwaveFlash.ShockwaveFlash.1 ShockwaveFlash.ShockwaveFlash.7 SWCtl.SWCtl.1 \
              TovakTest.WebBrowser TovakTest.InternetExplorer; do
    if ! query "HKEY_CLASSES_ROOT\\$progid\\CLSID" >/dev/null; then
        echo "not registered: $progid"
        exit 1
    fi
done
echo "test doubles registered"
