#!/usr/bin/env bash
# Installs what is missing, builds, and starts the window. Without a display it
# runs the headless job instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/src/app/sedilo
fi
echo "No display: writing screenshots of the window to sedilo-screenshots/"
exec build/src/app/sedilo --screenshot sedilo-screenshots
