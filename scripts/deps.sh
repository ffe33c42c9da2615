# Installs the Debian packages the build needs, when any is missing. Sourced by the scripts.
vorla_packages="cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev libgtest-dev libbenchmark-dev libspng-dev pkg-config python3-dev pybind11-dev python3-numpy"
# What the Python module's tests and its notebook use.
vorla_python_test_packages="python3-pytest python3-hypothesis python3-pil python3-tqdm python3-matplotlib python3-nbconvert python3-ipykernel"
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
