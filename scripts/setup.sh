#!/usr/bin/env bash
# Installs the Debian packages the project builds and runs with. Idempotent: when everything is
# present it only checks; `apt-get update` runs only when something is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libssl-dev libcurl4-openssl-dev zlib1g-dev libsqlite3-dev
  nlohmann-json3-dev libcpp-httplib-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  qt6-base-dev qt6-svg-dev qt6-multimedia-dev libgl-dev fonts-noto-cjk
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}" >&2
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "setup: missing packages (${missing[*]}) and neither root nor sudo available" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
