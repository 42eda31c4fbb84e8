#!/usr/bin/env bash
# Builds the Debian package from a build folder and lists its fields,
# dependencies and files. Usage: scripts/check-package.sh [BUILD_DIR]
set -euo pipefail
build=$(realpath "${1:-build}")
cd "$build"
cpack -G DEB >/dev/null
package=$(ls -t sedilo_*_amd64.deb | head -n1)
echo "== $build/$package"
dpkg-deb --info "$package"
dpkg-deb --contents "$package"
