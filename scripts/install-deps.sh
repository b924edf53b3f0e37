#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need.
# Does nothing when they are all present already.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev
  libcurl4-openssl-dev libssl-dev libgtest-dev libc-ares-dev zlib1g-dev
  analog
  python3 python3-pyftpdlib python3-dnslib
  openssl openssh-server openssh-client vsftpd
  clang libclang-rt-14-dev
  xvfb xauth attr bc
  dpkg-dev
  librsvg2-bin help2man groff-base man-db
  desktop-file-utils appstream shared-mime-info libxml2-utils file
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
