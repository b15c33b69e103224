# Sourced by tools/install-deps.sh and tools/install-cross-deps.sh.
# apt_install_missing NAME PACKAGE...: installs, with apt-get, whichever of the packages are
# missing; when all are present it only says so. NAME starts what it prints.
apt_install_missing() {
    local name=$1
    shift
    local missing=() p
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$p")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        echo "$name: all $# packages present"
        return 0
    fi
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    echo "$name: installing ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
