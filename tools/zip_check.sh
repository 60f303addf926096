# Shared by tools/check_package.sh and tools/check_web_package.sh (sourced):
# the project's version, fail() for a finding, the zip unpacked into a
# temporary folder that goes on exit, and the check that it holds exactly the
# files expected. The checker sets $label (the first word of each finding)
# before it sources this file.
version=$(sed -n 's/^project(Rillo LANGUAGES CXX VERSION \([0-9.]*\))$/\1/p' "$root/CMakeLists.txt")
status=0
fail() {
    echo "$label: $*" >&2
    status=1
}

# unpack_zip ZIP: unpacks it into $unpacked.
unpack_zip() {
    [ -f "$1" ] || { echo "$label: $1 is missing" >&2; exit 1; }
    unpacked=$(mktemp -d)
    trap 'rm -rf "$unpacked"' EXIT
    (cd "$unpacked" && cmake -E tar xf "$1")
}

# expect_exactly NAME EXPECTED: the unpacked zip NAME.zip holds the files
# EXPECTED (sorted, one path a line) and no other.
expect_exactly() {
    local name=$1 expected=$2 actual entry
    actual=$(cd "$unpacked" && find . -type f | sed 's|^\./||' | sort)
    while read -r entry; do
        [ -n "$entry" ] && fail "$entry is not in $name.zip"
    done < <(comm -23 <(echo "$expected") <(echo "$actual"))
    while read -r entry; do
        [ -n "$entry" ] && fail "$name.zip holds $entry, which does not belong in it"
    done < <(comm -13 <(echo "$expected") <(echo "$actual"))
}
