# Shared set-up for scripts/run and scripts/test: installs what is missing, configures, builds.
# Sourced, not run.

TINTARO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Paths inside the checkout are hashed relative to it, so every clone of the project on this
# machine shares one compiler cache.
export CCACHE_BASEDIR="$TINTARO_ROOT"
export CCACHE_NOHASHDIR=1

TINTARO_PACKAGES=(
  qt6-base-dev qt6-image-formats-plugins qt6-svg-dev libjpeg62-turbo-dev
  libgtest-dev libbenchmark-dev cmake ninja-build g++ clang libclang-rt-14-dev clang-format
  xvfb xauth xdotool fonts-liberation2 fonts-dejavu-core ccache
  libcups2-dev cups printer-driver-cups-pdf libexif-dev libical-dev appstream
)

tintaro_install_packages() {
  local missing=()
  for pkg in "${TINTARO_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
}

# tintaro_build DIR [cmake options...]: configures DIR and builds it with Ninja. Configuring
# runs every time (quick when nothing changed), so the options given here hold even in a folder
# another script configured first: scripts/test builds with warnings as errors after scripts/run.
tintaro_build() {
  local dir="$1"; shift
  cmake -S "$TINTARO_ROOT" -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" --parallel "$(nproc)"
}
