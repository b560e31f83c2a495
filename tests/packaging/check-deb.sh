#!/usr/bin/env bash
# check-deb.sh <build folder>
# Builds the Debian package from the build's CPack configuration into a temporary folder and
# checks that it holds the installed tree and depends on the libraries the program links,
# as computed from the binary.
set -euo pipefail
build=$1
for tool in cpack dpkg-deb dpkg-shlibdeps; do
  if ! command -v "$tool" >/dev/null; then
    echo "check-deb: $tool is missing (scripts/install-deps installs dpkg-dev)" >&2
    exit 1
  fi
done
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >/dev/null
deb=$(ls "$out"/qel2005_*.deb)

files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in ./usr/bin/qel2005 \
            ./usr/share/applications/org.qel2005.Qel2005.desktop \
            ./usr/share/mime/packages/qel2005.xml \
            ./usr/share/metainfo/org.qel2005.Qel2005.metainfo.xml \
            ./usr/share/icons/hicolor/scalable/apps/qel2005.svg \
            ./usr/share/icons/hicolor/48x48/apps/qel2005.png \
            ./usr/share/qel2005/about/index.html; do
  if ! grep -qxF "$path" <<<"$files"; then
    echo "check-deb: $path is not in the package" >&2
    exit 1
  fi
done

depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6core6 libqt6widgets6 libqt6gui6 libxlsxwriter4 libc6 qt6-qpa-plugins; do
  if ! grep -qE "(^|, )$library( |,|$)" <<<"$depends"; then
    echo "check-deb: Depends lacks $library: $depends" >&2
    exit 1
  fi
done
echo "check-deb: $(basename "$deb") depends on: $depends"
