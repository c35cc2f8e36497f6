#!/bin/sh
# Installs the build into a temporary prefix and checks the desktop integration: the
# programs, the samples and the language file are in place, the MIME database maps *.lwt
# to the cover page type, and the desktop database names Leafwright as its application
# (and, where gio is available, that this is what a file manager would open).
# usage: install_check.sh BUILD_DIR
set -eu
build=$1
prefix=$(mktemp -d /tmp/lw-install-XXXXXX)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null 2>&1
for f in bin/leafwright bin/lwtool bin/leafwright-mfp-sim \
         share/applications/leafwright.desktop share/mime/packages/leafwright.xml \
         share/icons/hicolor/scalable/apps/leafwright.svg share/leafwright/leafwright-en.lrc \
         share/leafwright/samples/business.lwt; do
  [ -e "$prefix/$f" ] || { echo "missing $f"; exit 1; }
done
grep -q '^Exec=leafwright %f' "$prefix/share/applications/leafwright.desktop"
grep -q '^Exec=leafwright /p %f' "$prefix/share/applications/leafwright.desktop"
if command -v update-mime-database >/dev/null; then
  grep -q 'application/x-leafwright-cover-page:\*\.lwt' "$prefix/share/mime/globs2" \
    || { echo "the MIME database does not know *.lwt"; exit 1; }
fi
if command -v update-desktop-database >/dev/null; then
  grep -q 'application/x-leafwright-cover-page=leafwright.desktop' \
    "$prefix/share/applications/mimeinfo.cache" \
    || { echo "the desktop database does not know the type"; exit 1; }
fi
if command -v gio >/dev/null; then
  PATH="$prefix/bin:$PATH" XDG_DATA_DIRS="$prefix/share:/usr/share" XDG_DATA_HOME="$prefix/home" \
    gio mime application/x-leafwright-cover-page | grep -q 'Default application.*leafwright.desktop' \
    || { echo "gio does not open cover pages with Leafwright"; exit 1; }
fi
echo "install ok: $prefix"
