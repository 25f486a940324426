# Sourced by ./run, ./test and ./package: installs what the build needs from
# Debian 12's packages when something is missing. Quick when everything is
# there. librsvg2-bin draws the icons from their SVG; python3 runs the CHIRP
# reading-rules checker of the tests; dpkg-dev
# (dpkg-shlibdeps, dpkg-buildflags), desktop-file-utils and appstream build
# and check the Debian package.
KQ517_PACKAGES="cmake g++ make ninja-build pkg-config qt6-base-dev qt6-base-dev-tools
  qt6-serialport-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools libgl-dev libqt6opengl6-dev
  qt6-translations-l10n fonts-wqy-microhei fonts-dejavu-core fonts-liberation2 xvfb xauth poppler-utils
  librsvg2-bin dpkg-dev desktop-file-utils appstream python3"
# Only ./package needs these: it checks the package it builds with lintian.
KQ517_PACKAGE_TOOLS="lintian"

# kq517_installed PACKAGE: true when dpkg has the package configured (a
# package waiting only for a trigger of another one works already).
kq517_installed() {
    case "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" in
        "install ok installed"|"install ok triggers-pending"|"install ok triggers-awaited") return 0 ;;
        *) return 1 ;;
    esac
}

# kq517_dpkg_locked: true while another program (apt, dpkg, a software
# updater) holds a lock of dpkg or apt. Probes each lock file with a shared
# lock, as a reader may (perl is part of every Debian system).
kq517_dpkg_locked() {
    local lock
    for lock in /var/lib/dpkg/lock-frontend /var/lib/dpkg/lock /var/lib/apt/lists/lock \
                /var/cache/apt/archives/lock; do
        [ -e "$lock" ] || continue
        perl -MFcntl -MErrno -e '
            open(my $fh, "<", $ARGV[0]) or exit 1;
            my $lock = pack("s s x4 q q i x4", F_RDLCK, SEEK_SET, 0, 0, 0);
            exit(!fcntl($fh, F_SETLK, $lock) && ($!{EAGAIN} || $!{EACCES}) ? 0 : 1);' "$lock" \
            && return 0
    done
    return 1
}

# kq517_wait_for_dpkg: waits (up to 10 minutes, saying so) while another
# program installs packages, rather than failing on the dpkg lock.
kq517_wait_for_dpkg() {
    local waited=0
    while kq517_dpkg_locked; do
        if [ "$waited" -ge 600 ]; then
            echo "The package manager is still busy after 10 minutes (the dpkg lock is held);" \
                 "try again when it has finished." >&2
            return 1
        fi
        [ $((waited % 30)) -eq 0 ] &&
            echo "Waiting for another program to finish installing packages (the dpkg lock is held)..."
        sleep 2
        waited=$((waited + 2))
    done
}

# kq517_install_deps [PACKAGE...]: installs what is missing of the build's
# packages and of the ones named.
kq517_install_deps() {
    local missing=""
    for p in $KQ517_PACKAGES "$@"; do
        kq517_installed "$p" || missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    # The lock may still be taken between the wait and apt-get: apt-get then
    # waits for it too.
    local wait_lock=(-o DPkg::Lock::Timeout=600)
    kq517_wait_for_dpkg || return 1
    $sudo apt-get "${wait_lock[@]}" update -qq || return 1
    kq517_wait_for_dpkg || return 1
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get "${wait_lock[@]}" install -y -qq --no-install-recommends \
        $missing || return 1
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
