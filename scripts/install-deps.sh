#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the window and the tests need,
# only those that are missing.
set -euo pipefail

packages=(
  cmake g++ make pkg-config help2man
  qt6-base-dev qt6-qpa-plugins fonts-wqy-microhei
  libsqlite3-dev libzip-dev libpugixml-dev libexpat1-dev libgsf-1-dev libxlsxwriter-dev libicu-dev
  libgtest-dev libgmock-dev
  python3-openpyxl python3-xlrd
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
