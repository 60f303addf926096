#!/usr/bin/env bash
# Checks the web release package build/web/package/rillo-<version>-web.zip:
# it must hold one folder with exactly the site's files (the page, its style
# sheet, the script, the .wasm and the data package), each the same bytes as
# the site the browser scenarios tested in build/web.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
version=$(sed -n 's/^project(Rillo LANGUAGES CXX VERSION \([0-9.]*\))$/\1/p' "$root/CMakeLists.txt")
name=rillo-$version-web
site=$root/build/web
zip=${1:-$site/package/$name.zip}
files="index.html rillo.css rillo.js rillo.wasm rillo.data"
[ -f "$zip" ] || { echo "web package: $zip is missing" >&2; exit 1; }
status=0
fail() {
    echo "web package: $*" >&2
    status=1
}

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
(cd "$unpacked" && cmake -E tar xf "$zip")

expected=$(for file in $files; do echo "$name/$file"; done | sort)
actual=$(cd "$unpacked" && find . -type f | sed 's|^\./||' | sort)
while read -r entry; do
    [ -n "$entry" ] && fail "$entry is not in $name.zip"
done < <(comm -23 <(echo "$expected") <(echo "$actual"))
while read -r entry; do
    [ -n "$entry" ] && fail "$name.zip holds $entry, which does not belong in it"
done < <(comm -13 <(echo "$expected") <(echo "$actual"))

total=0
for file in $files; do
    packed=$unpacked/$name/$file
    [ -f "$packed" ] || continue
    if [ ! -f "$site/$file" ]; then
        fail "$site/$file is missing: build the site first"
    elif ! cmp -s "$site/$file" "$packed"; then
        fail "$file in $name.zip differs from $site/$file"
    fi
    total=$((total + $(stat -c %s "$packed")))
done

if [ "$status" -eq 0 ]; then
    echo "web package: $name.zip holds the $(echo $files | wc -w) site files, $total bytes in all"
fi
exit "$status"
