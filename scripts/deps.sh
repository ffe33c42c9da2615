# Installs the Debian packages the build needs, when any is missing. Sourced by the scripts.
vorla_packages="cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev libgtest-dev libbenchmark-dev libspng-dev pkg-config"
vorla_install_missing() {
    local missing=""
    for p in $vorla_packages "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing" >&2
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing >&2
}
