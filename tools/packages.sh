# Installs the Debian packages named as arguments that are not installed yet.
# Sourced by play.sh and test.sh. Uses sudo when not run as root, and runs
# apt-get update once, only when something is missing.
#
# A fresh machine may still be busy with its own apt run at boot, and a
# mirror may fail for a moment: apt waits up to five minutes for another
# apt's lock instead of failing at once, and a failed update or install is
# tried again twice, 15 s apart, before the failure is reported.
install_missing_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    echo "Installing: ${missing[*]}"
    local apt=($sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300)
    local attempt
    for attempt in 1 2 3; do
        if "${apt[@]}" update -qq &&
            "${apt[@]}" install -y -qq --no-install-recommends "${missing[@]}"; then
            return 0
        fi
        [ "$attempt" -lt 3 ] || break
        echo "Installing failed (attempt $attempt of 3); trying again in 15 s" >&2
        sleep 15
    done
    return 1
}
