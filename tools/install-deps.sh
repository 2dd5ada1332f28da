#!/usr/bin/env bash
# Installs every system package the build, the tests and the demo need, on Debian 12, as root.
# Idempotent: packages already present are skipped quickly by apt.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  libgtest-dev googletest libbenchmark-dev
  libjpeg62-turbo-dev libpng-dev zlib1g-dev libstb-dev libgif-dev
  mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  gcc-mingw-w64-x86-64-posix gcc-mingw-w64-i686-posix libz-mingw-w64-dev
  wine wine64 xvfb x11-utils xauth fonts-wqy-zenhei locales
  python3 openssl curl iproute2 dpkg-dev time
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Wine's ANSI code page follows the locale: 936 needs zh_CN.UTF-8.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
