#!/usr/bin/env bash
# Builds the Windows .zip and installer from the windows build and checks what
# the .zip holds, the guide's web pages among it; then, in a private wine
# prefix and X server: installs silently, with Start-menu entries for the
# program and the Chinese guide; starts the installed program as a user
# who can't write its folder: it copies the demo to Documents\Quarnet\demo\,
# the empty canvas names the copy (the screenshot), and the open dialog's
# proposal opens it for an edit that reaches the file; a second start leaves
# the edited copy alone. Each start ends by the title bar's close (exit code
# 0). Last it uninstalls silently: the program's folder, its Start-menu
# entries and its uninstall registration are gone.
#   wine-package.sh BUILD_DIR PROBE SCREENSHOT
set -euo pipefail
build_dir=$(cd "$1" && pwd) probe=$2 screenshot=$3
title="Quarnet --- By Velloran"

source "$(dirname "$0")/xvfb-session.sh"
source "$(dirname "$0")/wine-prefix.sh"
source "$(dirname "$0")/typical-edit-steps.sh"
source "$(dirname "$0")/guide-pages.sh"
work="$xvfb_tmp/package"
mkdir -p "$work"
fail() { echo "$*"; exit 1; }

cpack --config "$build_dir/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" \
  || { cat "$work/cpack.log"; fail "cpack failed"; }
zip=$(ls "$work"/out/quarnet-*-win64.zip)
installer=$(ls "$work"/out/quarnet-*-win64.exe)

# The .zip: one folder with the program, the README and the demo.
(cd "$work" && cmake -E tar xf "$zip")
root="$work/$(basename "$zip" .zip)"
for file in quarnet.exe quarnet-terrain.exe README-Windows.txt LICENSE.txt demo/SANGO7.MPC demo/SANGO7.0.125.jpg; do
  [[ -f "$root/$file" ]] || fail "the .zip lacks $file"
done
cmp "$root/demo/SANGO7.MPC" "$build_dir/demo/SANGO7.MPC"
cmp "$root/demo/SANGO7.0.125.jpg" "$build_dir/demo/SANGO7.0.125.jpg"
grep -q $'\r$' "$root/README-Windows.txt" || fail "README-Windows.txt lacks Windows line ends"
# The guide, readable without the network: web pages, each picture they
# show beside them.
check_guide_pages "$root/guide" || fail "the .zip's guide pages are incomplete"

# Install silently into a folder of our choice.
run_wine_timeout 120 "$installer" /S '/D=C:\Quarnet' || fail "the installer failed"
installed="$WINEPREFIX/drive_c/Quarnet"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Quarnet"
for file in "$installed/quarnet.exe" "$installed/Uninstall.exe" "$installed/README-Windows.txt" \
            "$installed/demo/SANGO7.MPC" "$menu/Quarnet.lnk" "$menu/使用指南.lnk" "$menu/Uninstall.lnk"; do
  [[ -f "$file" ]] || fail "not installed: $file"
done
check_guide_pages "$installed/guide" || fail "the installed guide pages are incomplete"
# The command line beside it runs on the installed demo map.
run_wine_timeout 60 'C:\Quarnet\quarnet-terrain.exe' diff 'C:\Quarnet\demo\SANGO7.MPC' 'C:\Quarnet\demo\SANGO7.MPC' \
  >/dev/null 2>&1 || fail "the installed quarnet-terrain.exe failed"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quarnet'
run_wine_timeout 30 reg query "$uninstall_key" >/dev/null || fail "not registered for removal"

# The Start-menu entry leads to the installed program (wine's start does not
# wait for a shortcut's program, so the program is started directly).
grep -qaF 'C:\Quarnet\quarnet.exe' "$menu/Quarnet.lnk" || fail "the Start-menu entry leads elsewhere"
grep -qaF 'C:\Quarnet\guide\guide.zh-CN.html' "$menu/使用指南.lnk" || fail "the guide's Start-menu entry leads elsewhere"

# From here on, as a user without administrator rights: the program's folder
# can't be written. Root would write it anyway, so wine (its server
# included, started anew) runs without the capability to override file
# permissions.
chmod -R a-w "$installed"
wineserver -k
wineserver -w
as_user() { timeout --kill-after=5 "$1" setpriv --bounding-set=-dac_override,-dac_read_search -- "${@:2}"; }
copy="$WINEPREFIX/drive_c/users/$(id -un)/Documents/Quarnet/demo"
start_installed() {
  as_user 120 "$wine" 'C:\Quarnet\quarnet.exe' &
  running=$!
  p wait "$title" 60
  p wait-count 1 30
}

start_installed
for file in SANGO7.MPC SANGO7.0.125.jpg; do
  cmp "$copy/$file" "$installed/demo/$file" || fail "the demo's $file was not copied to Documents\Quarnet\demo"
done
p screenshot "$screenshot"
# The edit, on the copy that the open dialog proposes.
prepare_map "$copy/SANGO7.MPC"
open_proposed_map
pick_first_city "$copy/SANGO7.MPC" click "$title" 600 116
step_pick_write "$copy/SANGO7.MPC" "$work/installed-edit.png"
p close "$title"
await_exit "$running"
check_edit "$copy/SANGO7.MPC"

# Started again, it copies nothing over the edited map.
edited=$(md5sum <"$copy/SANGO7.MPC")
start_installed
p close "$title"
await_exit "$running"
[[ $code -eq 0 ]] || fail "the second start ended with $code"
[[ $(md5sum <"$copy/SANGO7.MPC") == "$edited" ]] || fail "a later start changed the user's demo map"

# Administrator again, to uninstall.
wineserver -k
wineserver -w
chmod -R u+w "$installed"

# The uninstaller runs on from a copy of itself: wait for its work to show.
run_wine_timeout 60 "$installed/Uninstall.exe" /S || fail "the uninstaller failed"
for _ in $(seq 150); do
  [[ -e "$installed" || -e "$menu" ]] || break
  sleep 0.2
done
[[ ! -e "$installed" ]] || fail "left after uninstalling: $(find "$installed")"
[[ ! -e "$menu" ]] || fail "Start-menu entries left after uninstalling"
if run_wine_timeout 30 reg query "$uninstall_key" >/dev/null 2>&1; then
  fail "still registered after uninstalling"
fi
echo "packages: $(basename "$zip"), $(basename "$installer"); installed, started (exit 0) and removed"
