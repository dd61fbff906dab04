#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the demo need, when missing.
# ser2net is a serial device server the tests start on loopback; on a machine with systemd
# its package also enables Debian's sample service (localhost ports only). lintian and
# appstream check the Debian package the build makes. RtMidi carries the control surfaces;
# jackd2 runs the dummy JACK server of their end-to-end test. liblo-dev reads and writes the
# OSC of network control (liblo-tools adds oscsend and oscdump for trying it by hand).
# libxtst-dev and xvfb carry the bench that presses the knobs in a real X server. nodejs and
# npm build and test the hub module in companion/ (Debian's nodejs when none is on PATH).
set -euo pipefail

packages=(
    cmake ninja-build ccache g++ clang libclang-rt-dev pkg-config
    qt6-base-dev qt6-svg-dev libgl-dev liblo-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-open-sans fonts-dejavu-core
    ser2net desktop-file-utils groff-base lintian appstream
    librtmidi-dev libjack-jackd2-dev jackd2
    libxtst-dev xvfb xauth
)
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    packages+=(nodejs npm)
fi
if [[ "${1:-}" == "--demo" ]]; then
    packages+=(qt6-qpa-plugins)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if ((${#missing[@]} == 0)); then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
    sudo_cmd=(sudo)
fi
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
