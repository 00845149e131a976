# Shared by the set-up scripts: install what is missing, configure and build a preset.
set -euo pipefail

BRIMWELL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs the packages of a list (scripts/packages.txt unless given) that are not installed yet.
ensure_packages() {
    local list=${1:-$BRIMWELL_ROOT/scripts/packages.txt} wanted missing=()
    wanted=$(grep -v -e '^#' -e '^[[:space:]]*$' "$list")
    for pkg in $wanted; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

# Configures (once) and builds the named CMake preset.
build_preset() {
    local preset=$1
    cd "$BRIMWELL_ROOT"
    if [ ! -f "build/$preset/build.ninja" ]; then
        cmake --preset "$preset"
    fi
    cmake --build --preset "$preset"
}
