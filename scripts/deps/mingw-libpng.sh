# Cross-builds libpng for Windows x86-64 once, from Debian's libpng source
# package, against Debian's mingw-w64 zlib. Sourced by scripts/build and
# scripts/test from the repository root with TORVA_BUILD set; the result is
# cached in build/deps/mingw-libpng/{include,lib} and reused while its stamp
# file exists. The Windows build of pix/ reads it from there. The unpacked
# source stays in build/deps/libpng-src/, where scripts/pix-fuzz builds an
# instrumented libpng from it.

TORVA_LIBPNG_SRC=$TORVA_BUILD/deps/libpng-src/src

torva_mingw_libpng() {
  local out=$TORVA_BUILD/deps/mingw-libpng
  local stamp=$out/.built
  [ -f "$stamp" ] && [ -f "$TORVA_LIBPNG_SRC/png.h" ] && return 0

  ensure_packages dpkg-dev libz-mingw-w64-dev g++-mingw-w64-x86-64-posix
  torva_enable_deb_src

  local work=$TORVA_BUILD/deps/libpng-src
  rm -rf "$work" "$out"
  mkdir -p "$work/obj" "$out/include" "$out/lib"
  log "fetching Debian's libpng source package"
  if ! torva_fetch_libpng_source "$work"; then
    # Every version the index lists is gone: the index is older than the
    # mirror. Refresh it once and try again.
    if [ "$APT_UPDATED" -eq 0 ]; then
      log "apt-get update (stale source index)"
      $(torva_sudo) apt-get update -q >&2
      APT_UPDATED=1
    fi
    if ! torva_fetch_libpng_source "$work"; then
      log "could not fetch Debian's libpng source package"
      return 1
    fi
  fi
  local dsc
  dsc=$(ls "$work"/libpng1.6_*.dsc | head -n 1)
  (cd "$work" && dpkg-source --no-check -x "$(basename "$dsc")" src >&2)

  log "cross-building libpng with mingw-w64"
  local src=$work/src cc=x86_64-w64-mingw32-gcc-posix
  cp "$src/scripts/pnglibconf.h.prebuilt" "$src/pnglibconf.h"
  local f objs=()
  for f in png pngerror pngget pngmem pngpread pngread pngrio pngrtran \
           pngrutil pngset pngtrans pngwio pngwrite pngwtran pngwutil; do
    $cc -O2 -DNDEBUG -I"$src" -I/usr/x86_64-w64-mingw32/include \
      -c "$src/$f.c" -o "$work/obj/$f.o"
    objs+=("$work/obj/$f.o")
  done
  x86_64-w64-mingw32-ar rcs "$out/lib/libpng16.a" "${objs[@]}"
  cp "$src/png.h" "$src/pngconf.h" "$src/pnglibconf.h" "$out/include/"
  rm -rf "$work/obj"
  touch "$stamp"
}

torva_sudo() { [ "$(id -u)" -eq 0 ] || echo sudo; }

# Downloads libpng1.6's source into $1, trying every version the source index
# lists, newest first: a mirror can lack the newest source of a suite, and an
# older version is the same upstream release with fewer Debian fixes.
torva_fetch_libpng_source() {
  local ver
  for ver in $(apt-cache showsrc libpng1.6 2>/dev/null | sed -n 's/^Version: //p' | sort -V -r -u); do
    rm -f "$1"/libpng1.6_*
    (cd "$1" && apt-get source --download-only "libpng1.6=$ver" >&2) && return 0
  done
  return 1
}

# apt-get source needs source entries. They are derived from the machine's own
# Debian entries (same mirrors, suites and keys), written once to a file of
# ours beside them.
torva_enable_deb_src() {
  local sudo
  sudo=$(torva_sudo)
  if ! grep -qsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; then
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed -E 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
        $sudo tee /etc/apt/sources.list.d/torva-deb-src.sources >/dev/null
    elif [ -f /etc/apt/sources.list ]; then
      sed -nE 's/^deb (.*)/deb-src \1/p' /etc/apt/sources.list |
        $sudo tee /etc/apt/sources.list.d/torva-deb-src.list >/dev/null
    fi
  fi
  # The source index may be missing even where the entries exist.
  # grep -c reads to the end: with pipefail an early exit would fail the pipe.
  if [ "$(apt-cache showsrc libpng1.6 2>/dev/null | grep -c '^Package:')" -eq 0 ]; then
    log "apt-get update (source entries)"
    $sudo apt-get update -q >&2
    APT_UPDATED=1
  fi
}

torva_mingw_libpng
