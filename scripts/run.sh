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
echo "No display: running the demo; its room and query workbooks go to sedilo-demo/"
exec build/src/cli/sedilo-cli demo sedilo-demo
