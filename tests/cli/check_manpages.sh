#!/bin/bash
# The manual pages as a reader sees them (rendered by groff): kq517.1 lists
# every verb of `kq517 --help` once, on its own line with its full synopsis,
# and under it each option of `kq517 VERB --help` once; the OPTIONS sections
# of both pages hold each program option once.
#   check_manpages.sh PAGE_DIR KQ517 KQ_517
set -u
pages=$1
kq517=$2
gui=$3

if ! command -v groff >/dev/null; then
    echo "SKIP: groff is not installed"
    exit 77
fi
if [ ! -f "$pages/kq517.1.gz" ] || [ ! -f "$pages/KQ_517.1.gz" ]; then
    echo "SKIP: no manual pages in $pages (a build that makes no package files)"
    exit 77
fi

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Plain ASCII, wide lines, no bold or underline marks.
render() { gzip -dc "$1" | groff -man -Tascii -P-cbou -rLL=250n 2>&1; }

# The lines of one section (heading at column 0, up to the next heading).
section() { awk -v name="$1" '/^[A-Z]/ { on = ($0 == name); next } on'; }

# Whitespace made single blanks.
squeeze() { tr -s ' \n\t' '   ' | sed 's/^ //; s/ $//'; }

# How many lines of stdin begin (after their indent) with the word $1 followed
# by a blank, a comma or the line's end.
items() { awk -v word="$1" '{ sub(/^ +/, ""); if (index($0, word) == 1) { rest = substr($0, length(word) + 1); if (rest == "" || rest ~ /^[ ,]/) n++ } } END { print n + 0 }'; }

page=$(render "$pages/kq517.1.gz")
commands=$(section COMMANDS <<< "$page")
[ -n "$commands" ] || fail "kq517.1 has no COMMANDS section"

verbs=$("$kq517" --help | awk '/^Commands:/ { on = 1; next } /^$/ { on = 0 } on && /^  [a-z]/ { print $1 }')
[ -n "$verbs" ] || fail "kq517 --help lists no commands"

# Each verb's block: from its own line to the next verb's line.
previous_start=0
for verb in $verbs; do
    help=$("$kq517" "$verb" --help)
    synopsis=$(awk 'NR == 1 || /^             [^ ]/ { print } NR > 1 && !/^             [^ ]/ { exit }' <<< "$help" \
               | squeeze | sed 's/^usage: kq517 //')
    starts=$(grep -n -E "^ {7}$verb( |\$)" <<< "$commands" | cut -d: -f1)
    if [ "$(wc -w <<< "$starts")" -ne 1 ]; then
        fail "kq517.1: '$verb' does not start exactly one line of COMMANDS (lines: ${starts:-none})"
        continue
    fi
    [ "$starts" -gt "$previous_start" ] || fail "kq517.1: '$verb' is out of the order of kq517 --help"
    previous_start=$starts
    block=$(tail -n "+$starts" <<< "$commands" | awk 'NR > 1 && /^       [a-z]/ { exit } { print }')
    # The full synopsis, as the verb's --help gives it.
    head_text=$(squeeze <<< "$block")
    case "$head_text" in
        "$synopsis"*) ;;
        *) fail "kq517.1: '$verb' reads '$(head -n 1 <<< "$block" | squeeze)', not its synopsis '$synopsis'" ;;
    esac
    for option in $(awk '/^Options:/ { on = 1; next } on && /^  -/ { print $1 }' <<< "$help"); do
        [ "$option" = --help ] && continue   # every verb takes it; the page says so once
        n=$(items "$option" <<< "$block")
        [ "$n" -eq 1 ] || fail "kq517.1: option $option of '$verb' is described $n times under it, not once"
    done
done

# Program options, once each in OPTIONS.
options=$(section OPTIONS <<< "$page")
for option in $("$kq517" --help | awk '/^Options:/ { on = 1; next } on && /^  -/ { print $1 }'); do
    n=$(items "$option" <<< "$options")
    [ "$n" -eq 1 ] || fail "kq517.1: program option $option is described $n times in OPTIONS, not once"
done

gui_page=$(render "$pages/KQ_517.1.gz")
gui_options=$(section OPTIONS <<< "$gui_page")
listed=$("$gui" --help | awk '/^  [-\/]/ { print $1 }')
[ -n "$listed" ] || fail "KQ_517 --help lists no options"
for option in $listed; do
    n=$(items "$option" <<< "$gui_options")
    [ "$n" -eq 1 ] || fail "KQ_517.1: option $option is described $n times in OPTIONS, not once"
done

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "Both manual pages describe every command and option once, in its place."
