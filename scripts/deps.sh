# Sourced by ./run, ./test and ./package: installs what the build needs from
# Debian 12's packages when something is missing. Quick when everything is
# there. dpkg-dev (dpkg-shlibdeps), desktop-file-utils and appstream build and
# check the Debian package.
KQ517_PACKAGES="cmake g++ make ninja-build pkg-config qt6-base-dev qt6-base-dev-tools
  qt6-serialport-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools libgl-dev libqt6opengl6-dev
  qt6-translations-l10n fonts-wqy-microhei fonts-dejavu-core fonts-liberation2 xvfb xauth poppler-utils
  dpkg-dev desktop-file-utils appstream"

kq517_install_deps() {
    local missing=""
    for p in $KQ517_PACKAGES; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq || return 1
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing || return 1
}

# kq517_configure DIR [cmake options...]: configures DIR once, then only
# applies the options given.
kq517_configure() {
    local dir="$1"; shift
    local gen=()
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        command -v ninja >/dev/null && gen=(-G Ninja)
        cmake -S . -B "$dir" "${gen[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" || return 1
    else
        cmake "$dir" "$@" >/dev/null || return 1
    fi
}

# kq517_build DIR [cmake options...]: configures and builds everything.
kq517_build() {
    local dir="$1"
    kq517_configure "$@" || return 1
    cmake --build "$dir" -j "$(nproc)"
}

# kq517_build_targets DIR TARGET...: configures DIR and builds only the targets.
kq517_build_targets() {
    local dir="$1"; shift
    kq517_configure "$dir" || return 1
    cmake --build "$dir" -j "$(nproc)" --target "$@"
}
