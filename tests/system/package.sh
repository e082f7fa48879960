#!/usr/bin/env bash
# Builds the .deb and .tar.gz from a build folder, checks what the .deb holds
# and depends on, checks it with Debian's own checkers (lintian, AppStream,
# desktop entry), unpacks it into a temporary root, starts the installed
# program through its link on the PATH in a real X server, and sees its
# window showing the picture that lies in the program's private folder (so
# the directory it reports is the real one). The guide's web pages lie in
# /usr/share/doc/quarnet/html/, each picture they show beside them.
#   package.sh BUILD_DIR PROBE
set -euo pipefail
build_dir=$(cd "$1" && pwd) probe=$2
title="Quarnet --- By Velloran"

source "$(dirname "$0")/xvfb-session.sh"
source "$(dirname "$0")/guide-pages.sh"
work="$xvfb_tmp/package"
mkdir -p "$work"

cpack --config "$build_dir/CPackConfig.cmake" -B "$work/out" >/dev/null
deb=$(ls "$work"/out/quarnet_*.deb)
ls "$work"/out/quarnet-*.tar.gz >/dev/null

depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins; do
  [[ "$depends" == *"$needed"* ]] || { echo "Depends lacks $needed: $depends"; exit 1; }
done
contents=$(dpkg-deb -c "$deb")
for path in ./usr/lib/quarnet/quarnet "./usr/bin/quarnet -> ../lib/quarnet/quarnet" \
            ./usr/share/applications/io.github.quarnet.Quarnet.desktop \
            ./usr/share/icons/hicolor/16x16/apps/io.github.quarnet.Quarnet.png \
            ./usr/share/icons/hicolor/32x32/apps/io.github.quarnet.Quarnet.png \
            ./usr/share/icons/hicolor/48x48/apps/io.github.quarnet.Quarnet.png \
            ./usr/share/metainfo/io.github.quarnet.Quarnet.metainfo.xml \
            ./usr/share/man/man1/quarnet.1.gz \
            ./usr/bin/quarnet-terrain ./usr/share/man/man1/quarnet-terrain.1.gz \
            ./usr/share/doc/quarnet/copyright ./usr/share/doc/quarnet/changelog.gz \
            ./usr/share/doc/quarnet/guide.md ./usr/share/doc/quarnet/guide.zh-CN.md \
            ./usr/share/doc/quarnet/command-line.md ./usr/share/doc/quarnet/html/guide.zh-CN.html; do
  [[ "$contents" == *"$path"* ]] || { echo "the package lacks $path"; exit 1; }
done
[[ $(dpkg-deb -f "$deb" Section) == utils ]]

# Debian's checkers: no errors and no warnings (notes are allowed).
lintian_args=(--fail-on error,warning)
[[ $(id -u) -ne 0 ]] || lintian_args+=(--allow-root)
lintian "${lintian_args[@]}" "$deb"

root="$work/root"
dpkg -x "$deb" "$root"
appstreamcli validate --no-net --strict "$root/usr/share/metainfo/io.github.quarnet.Quarnet.metainfo.xml"
desktop-file-validate "$root/usr/share/applications/io.github.quarnet.Quarnet.desktop"
check_guide_pages "$root/usr/share/doc/quarnet/html"
"$probe" solid-picture "$root/usr/lib/quarnet/SANGO7.0.125.jpg" 3366CC

(cd "$work" && exec "$root/usr/bin/quarnet") &
program=$!
"$probe" wait "$title" 30
# Inside the map canvas: a solid JPEG comes back within a step or two of its
# colour.
shows_picture=yes
pixel=$("$probe" wait-pixel "$title" 380 260 3366CC 2 30) || shows_picture=no
"$probe" close "$title"
set +e
wait "$program"
code=$?
set -e
echo "package: $(basename "$deb"); canvas pixel: $pixel; exit code: $code"
[[ $shows_picture == yes ]] || { echo "the canvas does not show the picture"; exit 1; }
[[ $code -eq 0 ]]
