#!/usr/bin/env bash
# Installs what building and testing need, from Debian 12's packages.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libblkid-dev
  # the Linux window and its tests
  qt6-base-dev libgl-dev fonts-dejavu-core fonts-dejavu-extra xvfb xauth
  # the Windows build, run under Wine
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 googletest wine wine64 wine32:i386 imagemagick x11-utils
  # the QEMU stage: a guest with emulated CD/DVD drives
  qemu-system-x86 busybox-static genisoimage sg3-utils cpio python3
)

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
# wine32 runs the 32-bit Windows build.
dpkg --print-foreign-architectures | grep -qx i386 || "${as_root[@]}" dpkg --add-architecture i386

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  "${as_root[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
