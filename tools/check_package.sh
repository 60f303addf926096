#!/usr/bin/env bash
# Checks the release package build/windows/package/rillo-<version>-win64.zip:
# it must hold rillo.exe and every data file of data/src in one folder, and
# the program must carry its version resource and its manifest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
version=$(sed -n 's/^project(Rillo LANGUAGES CXX VERSION \([0-9.]*\))$/\1/p' "$root/CMakeLists.txt")
name=rillo-$version-win64
zip=$root/build/windows/package/$name.zip
[ -f "$zip" ] || { echo "package: $zip is missing" >&2; exit 1; }
listing=$(cmake -E tar tf "$zip")
status=0
for file in rillo.exe $(cd "$root/data/src" && ls); do
    [ "$file" = rillo.exe ] && entry=$name/rillo.exe || entry=$name/src/$file
    if ! grep -qxF "$entry" <<<"$listing"; then
        echo "package: $entry is not in $name.zip" >&2
        status=1
    fi
done
exe=$root/build/windows/rillo.exe
narrow=$(strings -a "$exe")
wide=$(strings -a -el "$exe")
for needle in "Microsoft.Windows.Common-Controls" "<gdiScaling" "asInvoker"; do
    if ! grep -qF "$needle" <<<"$narrow"; then
        echo "package: the manifest of rillo.exe lacks $needle" >&2
        status=1
    fi
done
if ! grep -qxF "$version" <<<"$wide"; then
    echo "package: rillo.exe has no version resource $version" >&2
    status=1
fi
[ "$status" -eq 0 ] && echo "package: $name.zip holds rillo.exe and $(ls "$root/data/src" | wc -l) data files; version $version and manifest present"
exit "$status"
