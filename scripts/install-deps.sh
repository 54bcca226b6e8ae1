#!/usr/bin/env bash
# Installs the Debian packages that building, testing and benchmarking need.
# Only missing packages are installed; with nothing missing it is silent and fast.
# The word recordings in res/sounds are committed; to regenerate them, install flite and sox
# (not needed to build) and run: bash res/sounds/generate.sh
set -euo pipefail

packages=(
    build-essential
    cmake
    pkg-config
    libgtest-dev
    libgmock-dev
    libbenchmark-dev
    bc
    time
    portaudio19-dev
    libsndfile1-dev
    libreadline-dev
    qt6-base-dev
    libxcb1-dev
    libfontconfig-dev
    fonts-dejavu-core
    xvfb
    xauth
    desktop-file-utils
    appstream
    bash-completion
    lintian
    clang-format  # scripts/check-format.sh, run by CI
    speedcrunch  # only timed beside quorvel by bench_gui_startup
    python3-mpmath
)

missing=()
for pkg in "${packages[@]}"; do
    dpkg -s "$pkg" >/dev/null 2>&1 || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
