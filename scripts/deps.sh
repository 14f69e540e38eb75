# shellcheck shell=bash
# Sourced by scripts/run, scripts/test and scripts/fuzz: installs what is missing, and nothing
# else. Installing needs root: a normal user is asked through sudo.
VELTRIN_PACKAGES="cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev libfreetype-dev libpng-dev
    pkg-config qt6-base-dev libxcb-composite0-dev libxcb-damage0-dev libxcb-shm0-dev
    libxcb-xinput-dev libxcb-xtest0-dev libxcb-shape0-dev libxcb-res0-dev libxcb-xfixes0-dev
    libxcb-randr0-dev libxcb-render0-dev libxcb-render-util0-dev libxcb-keysyms1-dev"
# What the desktop tests and the headless scripts/run start: X server, window manager,
# tray host, compositing manager, the X tools they call, and a GTK 4 program (the
# benchmark resizes its widget factory).
VELTRIN_PACKAGES="$VELTRIN_PACKAGES xvfb openbox trayer xdotool x11-utils x11-xserver-utils
    xcompmgr xauth desktop-file-utils dpkg-dev gtk-4-examples dbus-daemon"
# The other window managers the pin tests run under (xfwm4 reads its settings over D-Bus).
VELTRIN_PACKAGES="$VELTRIN_PACKAGES xfwm4 xfconf i3-wm"
# The package's AppStream file is checked with appstreamcli.
VELTRIN_PACKAGES="$VELTRIN_PACKAGES appstream"
# Wayland desktop, media side: PipeWire capture (library, daemon, session manager, pw-cli for
# the tests), KDE's shortcut service and QtDBus's meta-object compiler.
VELTRIN_PACKAGES="$VELTRIN_PACKAGES libpipewire-0.3-dev pipewire pipewire-bin wireplumber
    libkf5globalaccel-bin qt6-base-dev-tools"
# Wayland desktop, KWin side: the client library and scanner, the protocol descriptions,
# the toolkit's Wayland platform; for the tests a headless KWin, KDE's service cache tool,
# dbus-send for KWin's scripting, weston as a compositor without KWin's interfaces, and
# gtk3-widget-factory as a Wayland window nobody here wrote.
VELTRIN_PACKAGES="$VELTRIN_PACKAGES libwayland-dev libwayland-bin wayland-protocols
    plasma-wayland-protocols qt6-wayland kwin-wayland libkf5service-bin dbus-bin weston
    gtk-3-examples"

# How long to wait for another package manager (automatic updates, often at login).
VELTRIN_APT_LOCK_SECONDS=${VELTRIN_APT_LOCK_SECONDS:-900}
VELTRIN_APT_RETRY_SECONDS=${VELTRIN_APT_RETRY_SECONDS:-5}

# veltrin_missing PACKAGES...: prints those not installed.
veltrin_missing() {
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            echo "$package"
        fi
    done
}

# veltrin_as_root COMMAND...: as it is for root, through sudo for anyone else.
veltrin_as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        sudo "$@"
    fi
}

veltrin_apt_get() {
    veltrin_as_root env DEBIAN_FRONTEND=noninteractive \
        apt-get -o DPkg::Lock::Timeout="$VELTRIN_APT_LOCK_SECONDS" "$@"
}

# apt-get update does not wait for the package lists' lock as install waits for dpkg's.
veltrin_apt_update() {
    local deadline=$((SECONDS + VELTRIN_APT_LOCK_SECONDS)) errors
    errors=$(mktemp)
    until veltrin_apt_get update -q 2>"$errors"; do
        cat "$errors" >&2
        if ! grep -q "lock" "$errors" || [ "$SECONDS" -ge "$deadline" ]; then
            rm -f "$errors"
            return 1
        fi
        echo "another package manager is running; trying again in ${VELTRIN_APT_RETRY_SECONDS} s"
        sleep "$VELTRIN_APT_RETRY_SECONDS"
    done
    rm -f "$errors"
}

# veltrin_install WHY PACKAGES...: installs those of PACKAGES that are missing.
veltrin_install() {
    local why=$1 missing
    shift
    missing=$(veltrin_missing "$@" | tr '\n' ' ')
    [ -z "$missing" ] && return 0
    echo "installing $why: $missing"
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null; then
            echo "installing needs root and sudo is missing: as root, run" >&2
            echo "  apt-get install --no-install-recommends $missing" >&2
            return 1
        fi
        echo "installing Debian packages needs root: sudo may ask for your password"
    fi
    # shellcheck disable=SC2086  # one word per package
    veltrin_apt_update && veltrin_apt_get install -y -q --no-install-recommends $missing
}

veltrin_install_missing() {
    # shellcheck disable=SC2086
    veltrin_install "(the tools and libraries Veltrin is built and tested with)" $VELTRIN_PACKAGES
}

# Files made by root (sudo scripts/test) in a tree that a user owns go back to that user, so
# that the user's next build can replace them: builds and the README's pictures.
veltrin_give_back() {
    local owner place
    [ "$(id -u)" -eq 0 ] || return 0
    owner=$(stat -c %u:%g "$VELTRIN_ROOT")
    [ "$owner" = "0:0" ] && return 0
    for place in "$VELTRIN_ROOT/build" "$VELTRIN_ROOT/docs/images"; do
        [ -e "$place" ] && find "$place" -user 0 -exec chown -h "$owner" {} +
    done
    return 0
}

# Configures and builds one flavour: veltrin_build DIR [cmake options...]
veltrin_build() {
    local dir=$1
    shift
    if [ -e "$dir" ] && [ ! -w "$dir" ]; then
        echo "$dir belongs to $(stat -c %U "$dir"); give it back with: sudo chown -R $(id -un) $dir" >&2
        return 1
    fi
    cmake -S "$VELTRIN_ROOT" -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" -j "$(nproc)"
}
