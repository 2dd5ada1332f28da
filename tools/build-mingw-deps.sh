#!/usr/bin/env bash
# Cross-builds libjpeg-turbo and libpng for one MinGW triplet from Debian's source packages,
# into a cache outside the clone keyed by triplet and package versions. Prints the prefix.
# Usage: tools/build-mingw-deps.sh x86_64-w64-mingw32|i686-w64-mingw32
set -euo pipefail
triplet=$1
cmake_dir=$(cd "$(dirname "$0")/../cmake" && pwd)
script_path=$(cd "$(dirname "$0")" && pwd)/$(basename "$0")
cache_root=${TOLVANE_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tolvane-deps}

jpeg_version=$(dpkg-query -W -f='${Version}' libjpeg62-turbo-dev)
png_version=$(dpkg-query -W -f='${Version}' libpng-dev)
key=$(printf '%s %s %s %s' "$triplet" "$jpeg_version" "$png_version" "$(sha1sum "$script_path" | cut -c1-12)" | sha1sum | cut -c1-16)
prefix=$cache_root/$triplet-$key
if [ -f "$prefix/.complete" ]; then echo "$prefix"; exit 0; fi

if ! grep -rqs '^Types: *deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
  cat > /etc/apt/sources.list.d/tolvane-deb-src.sources <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  apt-get update -q >&2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
apt-get source -q --download-only libjpeg-turbo libpng1.6 >&2
for dsc in *.dsc; do dpkg-source -x "$dsc" >&2; done
jpeg_src=$(find . -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n1)
png_src=$(find . -maxdepth 1 -type d -name 'libpng1.6-*' | head -n1)

rm -rf "$prefix"
toolchain=$cmake_dir/mingw-$([ "$triplet" = i686-w64-mingw32 ] && echo i686 || echo x86_64).cmake
common=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix")

cmake -S "$jpeg_src" -B jpeg-build "${common[@]}" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
  -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF -DWITH_JPEG8=OFF >&2
cmake --build jpeg-build --target install >&2

cmake -S "$png_src" -B png-build "${common[@]}" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
  -DPNG_EXECUTABLES=OFF -DZLIB_ROOT=/usr/$triplet -DZLIB_LIBRARY=/usr/$triplet/lib/libz.a \
  -DZLIB_INCLUDE_DIR=/usr/$triplet/include >&2
cmake --build png-build --target install >&2

touch "$prefix/.complete"
echo "$prefix"
