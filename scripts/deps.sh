# Installs the Debian packages the build needs, when any is missing. Sourced by the scripts.
vorla_packages="cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev libgtest-dev libbenchmark-dev libspng-dev pkg-config python3-dev pybind11-dev python3-numpy libvips-dev"
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

# The deep-zoom page's viewer, OpenSeadragon, at the version web/package-lock.json pins, from
# the npm registry into BUILD/npm (never into the sources); the build copies it beside the
# programs. npm comes from Debian when the machine has none.
vorla_install_viewer() {
    local build=$1 root
    root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
    local npm_dir="$build/npm"
    if [ -f "$npm_dir/node_modules/openseadragon/build/openseadragon/openseadragon.min.js" ] &&
        cmp -s "$root/web/package-lock.json" "$npm_dir/package-lock.json"; then
        return 0
    fi
    command -v npm >/dev/null || vorla_install_missing nodejs npm
    mkdir -p "$npm_dir"
    cp "$root/web/package.json" "$root/web/package-lock.json" "$npm_dir/"
    echo "Installing the deep-zoom viewer from the npm registry into $npm_dir" >&2
    (cd "$npm_dir" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error >&2)
}
