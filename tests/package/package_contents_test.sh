#!/bin/bash
# Checks the printer maker's package: the files it must hold, and that the
# DLL is stripped, at most 600 KB, exports the two COM entry points only,
# imports only system DLLs (nothing of the mingw runtime to ship, and not the
# shell or common-dialog libraries, which it loads when first needed) and
# carries the package's version; with a Wine prefix, that the package's own
# checker passes the package without warnings.
#   package_contents_test.sh ZIP VERSION [WINEPREFIX]
set -u
zip=$(realpath -m "$1")
version=$2
prefix=${3:-}
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

for f in printer-makers-guide.txt model/zdcp95.inf model/zdui.dll model/zdcp95.cap model/zdcp95.ini \
    model/zdcp95.ppd model/zdcp95.ver model/zdwmfont.dat model/zdccm.ini model/zdaskres.dll \
    tools/drvhost.exe tools/instprinter.exe; do
    [ -s "$root/$f" ] || fail "missing or empty: $f"
done
dll="$root/model/zdui.dll"
size=$(stat -c %s "$dll")
[ "$size" -le 614400 ] || fail "zdui.dll is $size bytes, more than 600 KB"
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
for d in shell32.dll comdlg32.dll; do
    if grep -qx -- "$d" <<<"$imports"; then fail "imports $d at load time"; fi
done
# The tools run from the zip alone: they import system DLLs only.
for exe in "$root"/tools/*.exe; do
    for d in $("$objdump" -p "$exe" | grep -E '^[[:space:]]*DLL Name:' | awk '{print tolower($3)}'); do
        case "$d" in
        msvcrt.dll | kernel32.dll | user32.dll | gdi32.dll | advapi32.dll | winspool.drv | comctl32.dll | \
            ole32.dll | oleaut32.dll | windowscodecs.dll | setupapi.dll | shell32.dll | comdlg32.dll | \
            version.dll | imm32.dll | shlwapi.dll | msimg32.dll | uxtheme.dll) ;;
        *) fail "$(basename "$exe") imports a non-system DLL: $d" ;;
        esac
    done
done

# The version resource carries the package's version (UTF-16 texts, read
# with their zero bytes removed).
tr -d '\000' <"$dll" | grep -aq "FileVersion$version" || fail "FileVersion is not $version"

# The guide documents every key and section the checker knows (the INI
# names among the checker's texts).
guide="$root/printer-makers-guide.txt"
checker="$(dirname "$0")/../../tools/drvhost/model_lint.cpp"
[ -f "$checker" ] || fail "cannot find the checker's source $checker"
for key in $(grep -o 'L"[A-Z][A-Za-z0-9_]* \?"' "$checker" | sed 's/^L"//; s/ \?"$//' | sort -u); do
    case "$key" in HKLM | HKEY_) continue ;; esac
    grep -q -- "$key" "$guide" || fail "the guide does not mention $key, which the checker reads"
done

# The package's checker on the package itself, as the guide tells a maker to run it.
if [ -n "$prefix" ] && [ -d "$prefix" ]; then
    win() { echo "Z:$(echo "$1" | tr / '\\')"; }
    lint=$(WINEPREFIX="$prefix" WINEDEBUG=-all /usr/lib/wine/wine64 "$root/tools/drvhost.exe" lint \
        --package "$(win "$root/model")" 2>&1)
    status=$?
    [ $status -eq 0 ] || fail "drvhost lint --package exits $status on the package:
$lint"
    grep -Eq '(^| )0 errors, 0 warnings' <<<"$lint" || fail "the package checker reports: $lint"
fi

if [ $failures -eq 0 ]; then
    echo "package $zip: contents, tools, stripped DLL, size, exports, imports, version and checker are right"
    exit 0
fi
exit 1
