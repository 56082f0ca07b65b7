# Shared by scripts/run and scripts/test: install what is missing, configure, build.
# shellcheck shell=bash

VANDORELLE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
VANDORELLE_BUILD="${VANDORELLE_BUILD:-$VANDORELLE_ROOT/build}"

VANDORELLE_PACKAGES=(
  build-essential cmake ninja-build ccache
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-serialport-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation fonts-dejavu-core locales
  libmosquitto-dev mosquitto mosquitto-clients openssl
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

ensure_packages() {
  local missing=()
  local p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
  fi
}

ensure_german_locale() {
  if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf8$'; then
    as_root sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
    as_root locale-gen >/dev/null
  fi
}

configure_and_build() {
  cmake -S "$VANDORELLE_ROOT" -B "$VANDORELLE_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@"
  cmake --build "$VANDORELLE_BUILD" -j"$(nproc)"
}
