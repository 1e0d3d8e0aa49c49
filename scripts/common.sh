# Shared by scripts/run, scripts/test and scripts/bench: install what is missing,
# then configure and build one build tree.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# Let ccache share compiled objects between checkouts in different folders.
export CCACHE_BASEDIR="$ROOT" CCACHE_NOHASHDIR=1

# Debian 12 packages the build, the tests and the default data need.
PACKAGES=(
  cmake ninja-build g++ ccache pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang libclang-rt-14-dev
  qt6-base-dev qt6-serialport-dev qt6-multimedia-dev libgl-dev
  pulseaudio pulseaudio-utils espeak-ng
  hamradio-files gmt-dcw python3-netcdf4
  socat poppler-utils xvfb xauth libhamlib-utils
  python3
)

ensure_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages. Install them with:" >&2
    echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# A sound server for the tests that play sound (the CW sidetone): PulseAudio
# with a null sink, started when none answers. It stays for later runs.
start_sound_server() {
  command -v pulseaudio >/dev/null || return 0
  pactl info >/dev/null 2>&1 || pulseaudio --start --exit-idle-time=-1 >/dev/null 2>&1 || true
  pactl list short sinks 2>/dev/null | grep -q . ||
    pactl load-module module-null-sink sink_name=vellum_null >/dev/null 2>&1 || true
  # Qt lists no monitor as an input: a source fed by the sink's monitor is the default
  # input, so what a test plays comes back in (the PSK31 sound-card test).
  pactl list short sources 2>/dev/null | grep -q vellum_loop ||
    { pactl load-module module-remap-source master="$(pactl get-default-sink).monitor" source_name=vellum_loop \
        >/dev/null 2>&1 && pactl set-default-source vellum_loop >/dev/null 2>&1; } || true
}

# configure_build DIR [cmake options...]: configure (once) and build.
configure_build() {
  local dir="$1"; shift
  cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$(nproc)"
}
