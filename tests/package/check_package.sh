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
    echo usr/share/icons/hicolor/scalable/apps/org.kq517.Programmer.svg
    echo usr/share/man/man1/KQ_517.1.gz
    echo usr/share/man/man1/kq517.1.gz
    echo usr/share/doc/kq517/copyright
    echo usr/share/doc/kq517/changelog.gz
    echo usr/share/doc/kq517/README.md.gz
    echo usr/share/doc/kq517/examples/60-kq517-usb-serial.rules
} | sort > "$expected"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | sort > "$work/actual"
if ! diff -u "$expected" "$work/actual"; then
    fail "the package's file list differs from the expected one (- expected, + packed)"
fi

# --- Dependencies found from the libraries the programs link, and Qt's
# platform plugins, without which neither the window nor /pt starts.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6core6 libqt6widgets6 libqt6serialport6 libqt6printsupport6 qt6-qpa-plugins; do
    case "$depends" in
        *"$lib "*|*"$lib,"*|*"$lib") ;;
        *) fail "Depends lacks $lib: $depends" ;;
    esac
done

# The Homepage field is the build's KQ517_HOMEPAGE setting.
homepage=$(sed -n 's/^KQ517_HOMEPAGE:[A-Z]*=//p' "$build/CMakeCache.txt")
[ -n "$homepage" ] && [ "$(dpkg-deb -f "$deb" Homepage)" = "$homepage" ] \
    || fail "Homepage is '$(dpkg-deb -f "$deb" Homepage)', not KQ517_HOMEPAGE '$homepage'"

# --- Reproducible: every time in the package is the build's
# SOURCE_DATE_EPOCH (the last commit's time), so a second packing, a second
# later, gives the same bytes.
epoch=$(sed -n 's/^set(ENV{SOURCE_DATE_EPOCH} \([0-9]*\))$/\1/p' "$build/packaging/cpack-options.cmake")
[ -n "$epoch" ] || fail "$build/packaging/cpack-options.cmake sets no SOURCE_DATE_EPOCH"
if [ -z "${SOURCE_DATE_EPOCH:-}" ] && commit_time=$(git -C "$source" log -1 --format=%ct 2>/dev/null) \
        && [ "$epoch" != "$commit_time" ]; then
    fail "the package's time $epoch is not the last commit's, $commit_time"
fi
stamp=$(date -u -d "@$epoch" '+%Y-%m-%d %H:%M:%S')
tar_times() { tar -tv --full-time --utc | awk '{ print $4 " " $5 }'; }
odd=$({ dpkg-deb --fsys-tarfile "$deb" | tar_times; dpkg-deb --ctrl-tarfile "$deb" | tar_times; } \
      | sort -u | grep -vxF "$stamp")
[ -z "$odd" ] || fail "files in the package are not dated $stamp (SOURCE_DATE_EPOCH) but:" $odd
sleep 1
if cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/again" > "$work/cpack2.log" 2>&1; then
    cmp "$deb" "$work/again/$(basename "$deb")" \
        || fail "a second packing of the same build gives a different package"
else
    cat "$work/cpack2.log"
    fail "the second cpack -G DEB failed"
fi

# --- The contents.
root="$work/root"
dpkg-deb -x "$deb" "$root"
cmp -s "$root/usr/share/kq517/KQ-517.ini" "$source/resources/KQ-517.ini" \
    || fail "the packed KQ-517.ini is not the shipped default of resources/"
# Stripped, and built with Debian's hardening flags: full RELRO (a RELRO
# segment and immediate binding), fortified functions, the stack protector.
for program in KQ_517 kq517; do
    elf="$root/usr/bin/$program"
    sections=$(readelf -SW "$elf" 2>/dev/null)
    grep -q '\.debug_info' <<< "$sections" && fail "usr/bin/$program still carries debugging information"
    grep -q ' \.comment ' <<< "$sections" && fail "usr/bin/$program still has a .comment section"
    readelf -lW "$elf" | grep -q GNU_RELRO || fail "usr/bin/$program has no RELRO segment"
    readelf -dW "$elf" | grep -Eq 'BIND_NOW|FLAGS_1.* NOW' || fail "usr/bin/$program does not bind immediately"
    symbols=$(readelf --dyn-syms -W "$elf")
    grep -Eq '__[a-z]+_chk' <<< "$symbols" || fail "usr/bin/$program calls no fortified functions"
    grep -q '__stack_chk_fail' <<< "$symbols" || fail "usr/bin/$program has no stack protector"
done

# The menu entry's icons are rendered at their own sizes from the scalable one.
for png in "$root"/usr/share/icons/hicolor/*x*/apps/org.kq517.Programmer.png; do
    folder=$(basename "$(dirname "$(dirname "$png")")")
    # A PNG's width and height are the big-endian words at bytes 16 and 20.
    size=$(od -An -tu1 -j16 -N8 "$png" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }')
    [ "$size" = "$folder" ] || fail "the $folder icon is $size pixels"
done
grep -q '<svg' "$root/usr/share/icons/hicolor/scalable/apps/org.kq517.Programmer.svg" \
    || fail "the scalable icon is not SVG"

# The user guide: the README for users, without the sections for developers.
guide=$(gzip -dc "$root/usr/share/doc/kq517/README.md.gz")
grep -qx '## Using the program' <<< "$guide" || fail "the user guide lacks 'Using the program'"
grep -qx '## Layout' <<< "$guide" && fail "the user guide still has the developers' 'Layout'"
for f in usr/share/man/man1/KQ_517.1.gz usr/share/man/man1/kq517.1.gz usr/share/doc/kq517/changelog.gz \
         usr/share/doc/kq517/README.md.gz; do
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
    lintian --pedantic -I --fail-on error,warning "$deb" > "$work/lintian.log" 2>&1 \
        || fail "lintian reports errors or warnings"
    grep -v 'running with root privileges' "$work/lintian.log" || true
    grep -Eq 'hardening|binary-has-unneeded-section' "$work/lintian.log" \
        && fail "lintian finds the programs built without Debian's hardening flags or not stripped"
else
    echo "lintian not installed: package not linted"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "The package passed every check."
