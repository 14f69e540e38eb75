# Sourced by scripts/run and scripts/test: installs what is missing, and nothing else.
VELTRIN_PACKAGES="cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev libfreetype-dev libpng-dev
    pkg-config qt6-base-dev libxcb-composite0-dev libxcb-damage0-dev libxcb-shm0-dev
    libxcb-xinput-dev libxcb-xtest0-dev libxcb-shape0-dev libxcb-res0-dev libxcb-xfixes0-dev
    libxcb-randr0-dev libxcb-render0-dev libxcb-render-util0-dev libxcb-keysyms1-dev"
# What the desktop tests and the headless scripts/run start: X server, window manager,
# tray host, compositing manager, and the X tools they call.
VELTRIN_PACKAGES="$VELTRIN_PACKAGES xvfb openbox trayer xdotool x11-utils x11-xserver-utils
    xcompmgr xauth desktop-file-utils dpkg-dev"
# Wayland desktop, media side: PipeWire capture (library, daemon, session manager, pw-cli for
# the tests), KDE's shortcut service and QtDBus's meta-object compiler, a private session bus.
VELTRIN_PACKAGES="$VELTRIN_PACKAGES libpipewire-0.3-dev pipewire pipewire-bin wireplumber
    libkf5globalaccel-bin qt6-base-dev-tools dbus-daemon"
# Wayland desktop, KWin side: the client library and scanner, the protocol descriptions,
# the toolkit's Wayland platform; for the tests a headless KWin, KDE's service cache tool,
# dbus-send for KWin's scripting, and weston as a compositor without KWin's interfaces.
VELTRIN_PACKAGES="$VELTRIN_PACKAGES libwayland-dev libwayland-bin wayland-protocols
    plasma-wayland-protocols qt6-wayland kwin-wayland libkf5service-bin dbus-bin weston"

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
