#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, only
# when one of them is missing. Runs as root or through sudo. Packages named as
# arguments are added (scripts/package.sh asks for its packaging tools).
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-charts-dev qt6-svg-dev
  libqt6sql6-sqlite libqt6sql6-psql libqt6opengl6-dev libgl-dev
  libsqlite3-dev libgtest-dev libgmock-dev libbenchmark-dev
  libhunspell-dev hunspell-en-us libcurl4-openssl-dev
  postgresql postgresql-client
  fonts-liberation xvfb xauth poppler-utils python3
  librsvg2-bin desktop-file-utils appstream
  libcups2-dev cups printer-driver-cups-pdf
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
