#!/usr/bin/env bash
# Installs a built tree into a temporary prefix and checks the installed
# layout as a user meets it: only the two programs in bin/, the shipped
# workbooks, menu entry, icons, metainfo and man pages in share/, the entry
# and the metainfo valid (when desktop-file-utils and appstream are there),
# and the installed programs finding their workbooks from another folder.
# Usage: scripts/check-install.sh [BUILD_DIR]
set -euo pipefail
build=$(realpath "${1:-build}")
prefix=$(mktemp -d)
work=$(mktemp -d)
trap 'rm -rf "$prefix" "$work"' EXIT
fail() { echo "check-install: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
[ "$(ls "$prefix/bin" | tr '\n' ' ')" = "sedilo sedilo-cli " ] || fail "bin/ holds: $(ls "$prefix/bin")"
id=io.github.sedilo.Sedilo
for file in share/sedilo/ksmb.xlsx share/sedilo/demo-examinees.xlsx \
            share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
            share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/48x48/apps/$id.png \
            share/icons/hicolor/256x256/apps/$id.png share/man/man1/sedilo.1 share/man/man1/sedilo-cli.1; do
  [ -s "$prefix/$file" ] || fail "missing $file"
done
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/$id.desktop" | { grep -v ": hint: " || true; } | grep . && fail "desktop entry"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null || fail "metainfo"
fi
grep -q "sedilo-cli demo" "$prefix/share/man/man1/sedilo-cli.1" || fail "the man page lists no commands"

cd "$work"
"$prefix/bin/sedilo-cli" demo >demo.log || fail "installed demo: $(cat demo.log)"
[ -s "sedilo-demo/第1考室.xlsx" ] || fail "the installed demo wrote no room workbook"
env QT_QPA_PLATFORM=offscreen "$prefix/bin/sedilo" --screenshot shots >shots.log 2>&1 || fail "installed window: $(cat shots.log)"
[ -s shots/tab1-rooms.png ] || fail "the installed window did not find its sample workbooks"
echo "check-install: the installed layout is complete and works"
