# Shared by scripts/build and scripts/test. Sourced with the repository root
# as the working directory.

TORVA_ROOT=$(pwd)
TORVA_BUILD=$TORVA_ROOT/build
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
export WINEPREFIX=$TORVA_BUILD/wineprefix
export WINEDEBUG=-all

log() { printf '== %s\n' "$*" >&2; }

APT_UPDATED=0
# Installs the named Debian packages that are not installed yet.
ensure_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  if [ $APT_UPDATED -eq 0 ]; then
    log "apt-get update"
    $sudo apt-get update -q >&2
    APT_UPDATED=1
  fi
  log "installing ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}" >&2
}

install_prerequisites() {
  ensure_packages g++ cmake make googletest libgtest-dev libbenchmark-dev \
    libpng-dev zlib1g-dev libsndfile1-dev libcli11-dev libkissfft-dev \
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 libz-mingw-w64-dev \
    wine64 xvfb xauth
  # Third-party libraries that have to be cross-built for Windows.
  local dep
  for dep in "$TORVA_ROOT"/scripts/deps/*.sh; do
    [ -e "$dep" ] || continue
    # shellcheck disable=SC1090
    . "$dep"
  done
}

JOBS=$(nproc 2>/dev/null || echo 2)

build_native() {
  log "building native (build/linux)"
  cmake -S "$TORVA_ROOT" -B "$TORVA_BUILD/linux" -DCMAKE_BUILD_TYPE=Release >&2
  cmake --build "$TORVA_BUILD/linux" -j "$JOBS" >&2
}

build_windows() {
  log "building Windows x86-64 (build/windows)"
  cmake -S "$TORVA_ROOT" -B "$TORVA_BUILD/windows" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$TORVA_ROOT/cmake/mingw-w64-x86_64.cmake" >&2
  cmake --build "$TORVA_BUILD/windows" -j "$JOBS" >&2
}

# Creates the Wine prefix inside build/ on first use.
wine_prepare() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    log "creating Wine prefix"
    mkdir -p "$WINEPREFIX"
    timeout 300 "$WINE64" wineboot -i >/dev/null 2>&1 || true
  fi
}

wine_stop() { "$WINESERVER" -k >/dev/null 2>&1 || true; }
