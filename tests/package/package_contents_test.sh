#!/bin/bash
# Checks the printer maker's package: the files it must hold, and that the
# DLL is stripped, exports the two COM entry points only, imports only
# system DLLs (nothing of the mingw runtime to ship) and carries the
# package's version.
#   package_contents_test.sh ZIP VERSION
set -u
zip=$(realpath -m "$1")
version=$2
objdump=x86_64-w64-mingw32-objdump
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -f "$zip" ] || { echo "FAIL: no package $zip"; exit 1; }
(cd "$work" && cmake -E tar xf "$zip") || { echo "FAIL: $zip does not unpack"; exit 1; }
root="$work/zdui-$version"

for f in zdui.dll printer-makers-guide.txt model/zdcp95.cap model/zdcp95.ini model/zdcp95.ppd \
    model/zdcp95.ver model/zdwmfont.dat model/zdccm.ini; do
    [ -s "$root/$f" ] || fail "missing or empty: $f"
done
dll="$root/zdui.dll"
[ -f "$dll" ] || { echo "FAIL: no DLL to inspect"; exit 1; }

headers=$("$objdump" -x "$dll") || { echo "FAIL: objdump cannot read the DLL"; exit 1; }
grep -q 'file format pei-x86-64' <<<"$headers" || fail "not a 64-bit PE image"

# Stripped: no symbol table and no debug sections.
grep -q 'symbols stripped' <<<"$headers" || fail "the DLL is not marked stripped"
grep -A1 '^SYMBOL TABLE:' <<<"$headers" | grep -q '^no symbols' || fail "the DLL has a symbol table"
if grep -Eq '[[:space:]]\.debug_' <<<"$headers"; then fail "the DLL has debug sections"; fi

# Exports: exactly the two entry points, by name.
exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$headers" | tail -n +2 |
    grep -Eo '\] [A-Za-z_][A-Za-z0-9_@]*' | cut -c3- | sort | tr '\n' ' ')
[ "$exports" = "DllCanUnloadNow DllGetClassObject " ] || fail "exports are '$exports'"

# Imports: system DLLs only.
system_dlls=' advapi32.dll comctl32.dll comdlg32.dll gdi32.dll imm32.dll kernel32.dll msimg32.dll
 msvcrt.dll ole32.dll oleaut32.dll shell32.dll shlwapi.dll user32.dll uxtheme.dll version.dll
 winspool.drv '
imports=$(grep -E '^[[:space:]]*DLL Name:' <<<"$headers" | awk '{print tolower($3)}' | sort -u)
[ -n "$imports" ] || fail "no import table found"
for d in $imports; do
    grep -qw -- "$d" <<<"$system_dlls" || fail "imports a non-system DLL: $d"
done

# The version resource carries the package's version (UTF-16 texts, read
# with their zero bytes removed).
tr -d '\000' <"$dll" | grep -aq "FileVersion$version" || fail "FileVersion is not $version"

if [ $failures -eq 0 ]; then
    echo "package $zip: contents, stripped DLL, exports, imports and version are right"
    exit 0
fi
exit 1
