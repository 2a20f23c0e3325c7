#!/usr/bin/env bash
# The manual pages against the programs: each renders without a warning, and
# names every option its program's --help lists; vantorel(1) and
# `vantorel --help` name every environment variable the program's source
# reads.
#   man_pages_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$1
bin=$2/bin
work=$(mktemp -d /tmp/vantorel-man-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Renders a page as a reader sees it; troff's warnings go to $work/warnings.
render()
{
    if command -v man >/dev/null; then
        MANWIDTH=100 man --warnings -l "$1" 2>"$work/warnings"
    else
        groff -man -Tutf8 -ww -k "$1" 2>"$work/warnings"
    fi
}

for program in vantorel vantorel-printscu vantorel-template; do
    page=$source_dir/docs/man/$program.1
    [ -f "$page" ] || { fail "no manual page $page"; continue; }
    # Hyphens as typed: the rendered page may use other dashes.
    render "$page" | sed 's/[‐−]/-/g' >"$work/$program.txt"
    [ -s "$work/warnings" ] && fail "$program.1 renders with warnings: $(cat "$work/warnings")"
    grep -q "^NAME" "$work/$program.txt" || fail "$program.1 has no NAME section"
    grep -Eq "^ +$program - " "$work/$program.txt" || fail "$program.1 NAME does not name $program"

    QT_QPA_PLATFORM=offscreen "$bin/$program" --help >"$work/$program.help" 2>/dev/null || true
    [ -s "$work/$program.help" ] || fail "$program --help printed nothing"
    for option in $(grep -oE -- '--[a-z][a-z-]*' "$work/$program.help" | sort -u); do
        grep -Fq -- "$option" "$work/$program.txt" || fail "$program.1 lacks $option"
    done
done

# Environment variables: what the source reads, what --help lists, what the
# page lists.
grep -rhoE '(getenv|qEnvironmentVariable(IsEmpty|IsSet)?|qgetenv|qEnvironmentVariableIntValue)\("[A-Z_]+"\)|override\([^,]+, "[A-Z_]+"\)' \
    "$source_dir/src" "$source_dir/app" | grep -oE '"[A-Z_]+"' | tr -d '"' | sort -u >"$work/read"
[ -s "$work/read" ] || fail "no environment variable found in the source"
grep -oE '\b[A-Z][A-Z_]{2,}\b' "$work/vantorel.help" | sort -u >"$work/listed"
while read -r variable; do
    grep -Fxq "$variable" "$work/listed" || fail "vantorel --help lacks $variable, which the program reads"
done <"$work/read"
while read -r variable; do
    case $variable in VANTOREL_*|DISPLAY|WAYLAND_DISPLAY|QT_QPA_PLATFORM|XDG_*|HOME|NOTIFY_SOCKET) ;; *) continue ;; esac
    grep -Fq "$variable" "$work/vantorel.txt" || fail "vantorel.1 lacks $variable"
done <"$work/listed"

[ $failures -eq 0 ] || exit 1
echo "manual pages agree with --help ($(wc -l <"$work/read") environment variables read)"
