# Sourced by scripts/run and scripts/test: installs what is missing, and nothing else.
VELTRIN_PACKAGES="cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev libfreetype-dev libpng-dev"

veltrin_install_missing() {
    local missing=()
    for package in $VELTRIN_PACKAGES; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Configures and builds one flavour: veltrin_build DIR [cmake options...]
veltrin_build() {
    local dir=$1
    shift
    cmake -S "$VELTRIN_ROOT" -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" -j "$(nproc)"
}
