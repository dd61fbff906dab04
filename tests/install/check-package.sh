#!/usr/bin/env bash
# Builds the Debian package into a scratch folder and checks it as Debian and the software
# centres would: lintian finds neither an error nor a warning, the AppStream metainfo
# validates, and the package holds what its own files name (the menu entry, the screenshot at
# its size, the changelog at the package's version, the manual and its pictures).
# Usage: check-package.sh BUILD_FOLDER SOURCE_FOLDER
set -uo pipefail

build="$1"
source="$2"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
source "$(dirname "$0")/checks.sh"

for tool in lintian appstreamcli dpkg-deb; do
    if ! command -v "$tool" >/dev/null; then
        echo "no $tool: scripts/install-deps.sh installs it" >&2
        exit 1
    fi
done

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log" >&2
    echo "cpack failed" >&2
    exit 1
fi
debs=("$scratch"/out/*.deb)
if ((${#debs[@]} != 1)) || [[ ! -f "${debs[0]}" ]]; then
    echo "cpack made ${#debs[@]} packages, expected one" >&2
    exit 1
fi
deb="${debs[0]}"

check
if ! report="$(lintian --fail-on error,warning --tag-display-limit 0 "$deb" 2>&1)"; then
    fail "lintian: $report"
fi

root="$scratch/root"
dpkg-deb -x "$deb" "$root"
version="$(dpkg-deb -f "$deb" Version)"

# The latest changelog entry is this version's.
check
top="$(zcat "$root/usr/share/doc/vcp/changelog.gz" 2>/dev/null | head -n 1)"
[[ "$top" == "vcp ($version) "* ]] || fail "the changelog begins '$top', not version $version"

metainfos=("$root"/usr/share/metainfo/*.metainfo.xml)
check
if ((${#metainfos[@]} != 1)) || [[ ! -f "${metainfos[0]}" ]]; then
    fail "the package holds ${#metainfos[@]} metainfo files, expected one"
else
    metainfo="${metainfos[0]}"
    check
    validation="$(appstreamcli validate --no-net "$metainfo" 2>&1)" ||
        fail "$(basename "$metainfo") does not validate: $validation"

    # The file is named after its component.
    id="$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$metainfo")"
    check
    [[ "$(basename "$metainfo")" == "$id.metainfo.xml" ]] ||
        fail "$(basename "$metainfo") holds the component '$id'"

    check
    entry="$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")"
    [[ -n "$entry" && -f "$root/usr/share/applications/$entry" ]] ||
        fail "the metainfo launches '$entry', which the package does not ship"

    # The screenshot is published under the name of the picture the package ships, at the
    # size the metainfo gives.
    image="$(grep -o '<image[^>]*>[^<]*</image>' "$metainfo" | head -n 1)"
    picture="$root/usr/share/vcp/screenshots/$(sed 's:.*/\([^/<]*\)</image>:\1:' <<<"$image")"
    width="$(sed -n 's/.*width="\([0-9]*\)".*/\1/p' <<<"$image")"
    height="$(sed -n 's/.*height="\([0-9]*\)".*/\1/p' <<<"$image")"
    check
    if [[ ! -f "$picture" ]]; then
        fail "the metainfo's screenshot '$image' is not shipped as $picture"
    else
        # A PNG's signature, then its IHDR chunk with the width and height as 32-bit numbers.
        read -r -a header < <(od -An -v -tu1 -N24 "$picture" | tr '\n' ' ')
        size="$(((header[16] << 24) | (header[17] << 16) | (header[18] << 8) | header[19]))"
        size+="x$(((header[20] << 24) | (header[21] << 16) | (header[22] << 8) | header[23]))"
        if [[ "${header[*]:0:8}" != "137 80 78 71 13 10 26 10" ]]; then
            fail "$picture is not a PNG picture"
        elif [[ "$size" != "${width}x${height}" ]]; then
            fail "$picture is $size, the metainfo says ${width}x${height}"
        fi
    fi
fi

# The user manual and its pictures, byte for byte.
check
cmp -s "$source/docs/manual.md" "$root/usr/share/doc/vcp/manual.md" ||
    fail "the package does not ship docs/manual.md as /usr/share/doc/vcp/manual.md"
pictures=("$source"/docs/manual/*.png)
check
[[ -f "${pictures[0]}" ]] || fail "docs/manual/ holds no picture"
for picture in "${pictures[@]}"; do
    check
    cmp -s "$picture" "$root/usr/share/doc/vcp/manual/$(basename "$picture")" ||
        fail "the manual's picture $(basename "$picture") is not shipped"
done

finish "package $(basename "$deb")"
