#!/usr/bin/env bash
# check-install.sh <build folder> <mime probe>
# Installs the build into a temporary DESTDIR and checks the tree a desktop sees: the menu
# entry and the AppStream description validate, the database file type maps "x.QEL" and
# "y.qel", and the executable, the icon and the about page are in place.
set -euo pipefail
build=$1
probe=$2
for tool in desktop-file-validate appstreamcli update-mime-database; do
  if ! command -v "$tool" >/dev/null; then
    echo "check-install: $tool is missing (scripts/install-deps installs it)" >&2
    exit 1
  fi
done
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
share="$root/usr/share"

test -x "$root/usr/bin/qel2005"
desktop-file-validate "$share/applications/org.qel2005.Qel2005.desktop"
appstreamcli validate --no-net "$share/metainfo/org.qel2005.Qel2005.metainfo.xml" >/dev/null
test -s "$share/icons/hicolor/scalable/apps/qel2005.svg"
for size in 16 24 32 48 64 128 256; do
  test -s "$share/icons/hicolor/${size}x${size}/apps/qel2005.png"
done
test -s "$share/qel2005/about/index.html"

update-mime-database "$share/mime"
types=$(XDG_DATA_DIRS="$share" XDG_DATA_HOME="$root/nowhere" "$probe" x.QEL y.qel)
expected=$'application/x-qel2005-database\napplication/x-qel2005-database'
if [ "$types" != "$expected" ]; then
  echo "check-install: the file type of x.QEL and y.qel is '$types'" >&2
  exit 1
fi
echo "check-install: the installed tree is complete"
