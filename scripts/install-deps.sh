#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need (as root, or through sudo).
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config help2man
          libfmt-dev libcli11-dev libsimpleini-dev
          libgtest-dev libgmock-dev libbenchmark-dev
          git patch python3 qt6-base-dev libqt6svg6
          g++-mingw-w64-x86-64-posix googletest wine64 zip unzip
          clang-14 libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo_cmd=(); [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
