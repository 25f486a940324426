#!/usr/bin/env bash
# Builds the Debian package of a build folder into a temporary folder and
# checks it: check_package.sh BUILD_DIR SOURCE_DIR. Exit 77 means skipped.
set -uo pipefail
build=$1
source=$2

for tool in dpkg-deb cpack; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed, so no package can be built here."
        exit 77
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" > "$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    fail "cpack -G DEB failed"
    exit 1
fi
deb=$(ls "$work"/out/*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { fail "cpack made no .deb"; exit 1; }
echo "Package: $(basename "$deb")"

# --- The file list: exactly these files, nothing more (no test programs, no
# build leftovers), nothing less.
expected="$work/expected"
{
    echo usr/bin/KQ_517
    echo usr/bin/kq517
    echo usr/share/kq517/KQ-517.ini
    echo usr/share/kq517/English517.rcc
    echo usr/share/kq517/Chinese517.rcc
    echo usr/share/applications/org.kq517.Programmer.desktop
    echo usr/share/metainfo/org.kq517.Programmer.metainfo.xml
    for size in 16 22 24 32 48 64 128 256; do
        echo "usr/share/icons/hicolor/${size}x${size}/apps/org.kq517.Programmer.png"
    done
    echo usr/share/man/man1/KQ_517.1.gz
    echo usr/share/man/man1/kq517.1.gz
    echo usr/share/doc/kq517/copyright
    echo usr/share/doc/kq517/changelog.gz
    echo usr/share/doc/kq517/examples/60-kq517-usb-serial.rules
} | sort > "$expected"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | sort > "$work/actual"
if ! diff -u "$expected" "$work/actual"; then
    fail "the package's file list differs from the expected one (- expected, + packed)"
fi

# --- Dependencies found from the libraries the programs link.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6core6 libqt6widgets6 libqt6serialport6 libqt6printsupport6; do
    case "$depends" in
        *"$lib "*|*"$lib,"*|*"$lib") ;;
        *) fail "Depends lacks $lib: $depends" ;;
    esac
done

# --- The contents.
root="$work/root"
dpkg-deb -x "$deb" "$root"
cmp -s "$root/usr/share/kq517/KQ-517.ini" "$source/resources/KQ-517.ini" \
    || fail "the packed KQ-517.ini is not the shipped default of resources/"
for program in KQ_517 kq517; do
    if readelf -S "$root/usr/bin/$program" 2>/dev/null | grep -q '\.debug_info'; then
        fail "usr/bin/$program still carries debugging information"
    fi
done
for f in usr/share/man/man1/KQ_517.1.gz usr/share/man/man1/kq517.1.gz usr/share/doc/kq517/changelog.gz; do
    gzip -t "$root/$f" 2>/dev/null || fail "$f is not gzip'd"
done

# The manual page lists every command and every simulator option the program's
# own help lists.
page=$(gzip -dc "$root/usr/share/man/man1/kq517.1.gz")
while read -r item; do
    groff=${item//-/\\-}
    grep -qF "\\fB$groff\\fR" <<< "$page" || fail "kq517.1 does not describe '$item' of kq517 --help"
done < <({ "$root/usr/bin/kq517" --help; "$root/usr/bin/kq517" sim --help; } | awk '/^  [^ ]/ { print $1 }')

# --- Installed layout at work: the programs find their data folder beside
# /usr/bin (the model name comes from the packed settings file, the print
# needs the language modules).
shown=$("$root/usr/bin/kq517" show "$source/resources/demo-radio.dat" 2>&1)
grep -q 'Model: *KQ-517 (model 0)' <<< "$shown" || fail "kq517 show from the package: $shown"
if timeout 120 "$root/usr/bin/KQ_517" /pt "$source/resources/demo-radio.dat" "$work/report.pdf" \
        > "$work/print.log" 2>&1 && [ -s "$work/report.pdf" ]; then
    :
else
    cat "$work/print.log"
    fail "KQ_517 /pt from the package made no PDF"
fi

# --- Validators, when installed.
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root/usr/share/applications/org.kq517.Programmer.desktop" \
        || fail "desktop-file-validate"
else
    echo "desktop-file-validate not installed: desktop entry not validated"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$root/usr/share/metainfo/org.kq517.Programmer.metainfo.xml" \
        > "$work/appstream.log" 2>&1 || { cat "$work/appstream.log"; fail "appstreamcli validate"; }
else
    echo "appstreamcli not installed: AppStream data not validated"
fi
if command -v lintian >/dev/null; then
    lintian --fail-on error "$deb" > "$work/lintian.log" 2>&1 || fail "lintian reports errors"
    grep -v 'running with root privileges' "$work/lintian.log" || true
else
    echo "lintian not installed: package not linted"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "The package passed every check."
