#!/usr/bin/env bash
# Checks the web release package build/web/package/rillo-<version>-web.zip:
# it must hold one folder with exactly the site's files (the page, its style
# sheet, the script, the .wasm and the data package), each the same bytes as
# the site the browser scenarios tested in build/web.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
label="web package"
. "$root/tools/zip_check.sh"
name=rillo-$version-web
site=$root/build/web
files="index.html rillo.css rillo.js rillo.wasm rillo.data manifest.webmanifest icon-192.png icon-512.png icon-maskable-512.png sw.js"
unpack_zip "${1:-$site/package/$name.zip}"

expect_exactly "$name" "$(for file in $files; do echo "$name/$file"; done | sort)"

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
