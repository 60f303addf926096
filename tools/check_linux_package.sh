#!/usr/bin/env bash
# Checks the Linux package build/linux/package/rillo-<version>-linux-x86_64.tar.gz:
# one folder with rillo, rillo.desktop, rillo.png and every data file of
# data/src and nothing else; the program and data are the ones the build made
# and the end-to-end checks ran; the program needs only libraries a Debian
# package brings; the desktop file starts the program beside it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
label=linux-package
. "$root/tools/zip_check.sh"
name=rillo-$version-linux-x86_64
unpack_zip "${1:-$root/build/linux/package/$name.tar.gz}"

expect_exactly "$name" "$( (printf '%s\n' "$name/rillo" "$name/rillo.desktop" "$name/rillo.png"
    cd "$root/data/src" && ls | sed "s|^|$name/src/|") | sort)"

for file in rillo rillo.png; do
    if [ -f "$unpacked/$name/$file" ] && ! cmp -s "$root/build/linux/$file" "$unpacked/$name/$file"; then
        fail "$file in $name.tar.gz differs from build/linux/$file"
    fi
done
for file in "$root"/data/src/*; do
    packed=$unpacked/$name/src/$(basename "$file")
    if [ -f "$packed" ] && ! cmp -s "$file" "$packed"; then
        fail "src/$(basename "$file") in $name.tar.gz differs from data/src"
    fi
done

exe=$unpacked/$name/rillo
[ -x "$exe" ] || fail "rillo in $name.tar.gz is not an executable file"
libraries=""
if [ -x "$exe" ]; then
    # Every library resolved, and each one a file some installed Debian package owns.
    while read -r line; do
        case "$line" in
        *"not found"*) fail "rillo needs a library the system lacks: $line" ;;
        *"=> /"*)
            path=$(sed 's/.*=> \([^ ]*\).*/\1/' <<<"$line")
            owner=$(dpkg -S "$(readlink -f "$path")" 2>/dev/null || dpkg -S "$path" 2>/dev/null || true)
            [ -n "$owner" ] || fail "rillo needs $path, which no Debian package brings"
            ;;
        esac
    done < <(ldd "$exe")
    libraries=$(objdump -p "$exe" | sed -n 's/^ *NEEDED *//p' | tr '\n' ' ')
    # SDL_ttf is opened at the first text, so ldd does not list it.
    ttf=libSDL2_ttf-2.0.so.0
    grep -q "$ttf" "$exe" || fail "rillo no longer names $ttf; update this check"
    ttf_path=$(ldconfig -p | sed -n "s/^[[:space:]]*$ttf (.*x86-64.*) => //p" | head -n 1)
    [ -n "$ttf_path" ] && dpkg -S "$(readlink -f "$ttf_path")" >/dev/null 2>&1 ||
        fail "$ttf, which rillo opens for its texts, is not a Debian package's library here"
    libraries+="and at its first text $ttf "
fi
grep -q '^Exec=.*rillo' "$unpacked/$name/rillo.desktop" || fail "rillo.desktop starts no rillo"
grep -q '^Icon=rillo$' "$unpacked/$name/rillo.desktop" || fail "rillo.desktop names no icon"
[ "$(head -c 8 "$unpacked/$name/rillo.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
    fail "rillo.png is not a PNG picture"

if [ "$status" -eq 0 ]; then
    echo "linux-package: $name.tar.gz ($(stat -c %s "${1:-$root/build/linux/package/$name.tar.gz}") bytes) holds rillo ($(stat -c %s "$exe") bytes), rillo.desktop, rillo.png and $(ls "$root/data/src" | wc -l) data files; needs $libraries(each from a Debian package)"
fi
exit "$status"
