#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what a machine gets: each program in
# bin and nothing else, each with a compressed man page that names every option of its --help
# and no other, and, with the panel, its menu entry and icon where desktops look for them.
# Usage: check-install-tree.sh BUILD_FOLDER
set -uo pipefail

build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
source "$(dirname "$0")/checks.sh"

if ! cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1; then
    cat "$prefix.log" >&2
    rm -f "$prefix.log"
    echo "cmake --install failed" >&2
    exit 1
fi
rm -f "$prefix.log"

# The programs are whatever the build made of the three; the panel is built only where its
# sources are.
programs=()
for program in vcp vcp-sim vcp-probe; do
    [[ -x "$build/bin/$program" ]] && programs+=("$program")
done
((${#programs[@]} >= 2)) || fail "the build holds no vcp-sim and vcp-probe"

installed="$(cd "$prefix/bin" 2>/dev/null && ls | sort | tr '\n' ' ')"
expected="$(printf '%s\n' "${programs[@]}" | sort | tr '\n' ' ')"
check
[[ "$installed" == "$expected" ]] || fail "bin holds '$installed', expected '$expected'"

# Long options as written in a --help text or in a man page (troff escapes its hyphens; the
# examples may show other programs' options).
options_of() {
    sed -e '/^\.EX/,/^\.EE/d' -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' |
        grep -oE -- '--[a-z][a-z-]*' | sort -u
}

for program in "${programs[@]}"; do
    binary="$prefix/bin/$program"
    page="$prefix/share/man/man1/$program.1.gz"
    check
    help="$(QT_QPA_PLATFORM=offscreen "$binary" --help 2>&1)" || fail "$program --help failed"
    check
    if [[ ! -f "$page" ]]; then
        fail "no man page $page"
        continue
    fi
    check
    if [[ "$(options_of <<<"$help")" != "$(zcat "$page" | options_of)" ]]; then
        fail "$program: --help and the man page name different options:" \
            "$(diff <(options_of <<<"$help") <(zcat "$page" | options_of) | grep '^[<>]' | tr '\n' ' ')"
    fi
    if command -v groff >/dev/null; then
        check
        warnings="$(zcat "$page" | groff -man -ww -z 2>&1)"
        [[ -z "$warnings" ]] || fail "$page: $warnings"
    fi
done

# vcp-probe's subcommands are all in its man page.
if [[ -x "$prefix/bin/vcp-probe" ]]; then
    probe_page="$(zcat "$prefix/share/man/man1/vcp-probe.1.gz" 2>/dev/null)"
    for command in $("$prefix/bin/vcp-probe" --help | sed -n 's/^  vcp-probe --port PORT \(--unit N \)\{0,1\}\([a-z]*\).*/\2/p'); do
        check
        grep -q "^\\.B.* $command\\b\\|^\\\\fB$command\\|^\\.B $command\$\\|^\\.BI \"$command " \
            <<<"$probe_page" || fail "vcp-probe.1 lacks the command $command"
    done
fi

if [[ " ${programs[*]} " == *" vcp "* ]]; then
    entry="$prefix/share/applications/korvanthe-vcp.desktop"
    check
    if [[ -f "$entry" ]]; then
        exec_line="$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")"
        icon="$(sed -n 's/^Icon=//p' "$entry")"
        check
        [[ -x "$prefix/bin/$exec_line" ]] || fail "the menu entry starts '$exec_line', not installed"
        check
        [[ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ]] ||
            fail "the menu entry's icon '$icon' is not installed as a scalable icon"
        if command -v desktop-file-validate >/dev/null; then
            check
            desktop-file-validate "$entry" || fail "$entry does not validate"
        fi
    else
        fail "no menu entry $entry"
    fi
fi

finish "install tree of ${programs[*]}"
