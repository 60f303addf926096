#!/usr/bin/env bash
# Checks the release package build/windows/package/rillo-<version>-win64.zip:
# it must hold one folder with rillo.exe and every data file of data/src and
# nothing else, the files must be the ones the build made and tested, the
# program must need no DLL beyond those Windows brings, and it must carry its
# version resource and its manifest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
label=package
. "$root/tools/zip_check.sh"
name=rillo-$version-win64
exe=$root/build/windows/rillo.exe
unpack_zip "${1:-$root/build/windows/package/$name.zip}"

# Exactly the expected files, in exactly one folder.
expect_exactly "$name" "$( (echo "$name/rillo.exe"; cd "$root/data/src" && ls | sed "s|^|$name/src/|") | sort)"

# The same bytes as the program the end-to-end run tests and the data it uses.
if [ -f "$unpacked/$name/rillo.exe" ] && ! cmp -s "$exe" "$unpacked/$name/rillo.exe"; then
    fail "rillo.exe in $name.zip differs from $exe"
fi
for file in "$root"/data/src/*; do
    packed=$unpacked/$name/src/$(basename "$file")
    if [ -f "$packed" ] && ! cmp -s "$file" "$packed"; then
        fail "src/$(basename "$file") in $name.zip differs from data/src"
    fi
done

# The program as it ships: a double click must start it on a bare Windows,
# so it may need no MinGW runtime DLL.
[ -f "$unpacked/$name/rillo.exe" ] && exe=$unpacked/$name/rillo.exe
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\tDLL Name: //p')
[ -n "$imports" ] || fail "rillo.exe imports no DLL at all; is it a Windows program?"
for dll in $imports; do
    case "${dll,,}" in
    kernel32.dll | user32.dll | gdi32.dll | winmm.dll | msvcrt.dll) ;;
    *) fail "rillo.exe needs $dll, which Windows does not bring" ;;
    esac
done

narrow=$(strings -a "$exe")
wide=$(strings -a -el "$exe")
for needle in "Microsoft.Windows.Common-Controls" "<gdiScaling" "asInvoker"; do
    grep -qF "$needle" <<<"$narrow" || fail "the manifest of rillo.exe lacks $needle"
done
grep -qxF "$version" <<<"$wide" || fail "rillo.exe has no version resource $version"

if [ "$status" -eq 0 ]; then
    echo "package: $name.zip holds rillo.exe ($(stat -c %s "$exe") bytes, imports: $(echo $imports)) and $(ls "$root/data/src" | wc -l) data files; version $version and manifest present"
fi
exit "$status"
