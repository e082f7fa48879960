# Sourced by the tests and benchmarks that run Windows programs with a display:
# makes a private, throw-away wine prefix and removes it when the shell exits
# (source xvfb-session.sh first, so wine draws into that private X server).
#
# The Chinese captions need a font with CJK glyphs, which wine's own fonts
# lack. The prefix gets WenQuanYi Micro Hei (Debian's fonts-wqy-microhei) in
# its Fonts folder, linked behind the message and dialog fonts the way a
# Chinese Windows links SimSun behind them: Latin text keeps the usual font,
# each CJK character comes from the linked one. SimSun itself, which the
# program asks for by name, is AR PL UMing (Debian's fonts-arphic-uming): a
# Song face whose line is as tall as its characters, as SimSun's is.
# With QUARNET_WINE_FONTS=sans the prefix is that of an English or Traditional
# Chinese Windows instead: no SimSun by any name, only WenQuanYi behind the
# message font.
#
# Afterwards: WINEPREFIX, wine (the wine program) and
#   run_wine_timeout SECONDS PROGRAM ARGS...   its exit code, 124 on time-out
# A prefix is ~650 MB of copied system files: in memory when /dev/shm has
# room (quicker, and no disk traffic that stalls the wine server), else in
# the temporary folder.
wine_base=${TMPDIR:-/tmp}
if [[ -d /dev/shm && -w /dev/shm ]] && (($(df --output=avail -B1M /dev/shm | tail -1) > 4096)); then
  wine_base=/dev/shm
fi
wine_tmp=$(mktemp -d "$wine_base/quarnet-wine.XXXXXX")
export WINEPREFIX="$wine_tmp/prefix"
# Wine links Documents and the other user folders to $HOME: a home of its own
# keeps what the programs write there inside the throw-away folder.
export HOME="$wine_tmp/home"
mkdir "$HOME"
export WINEDEBUG=-all
# No desktop menu entries, no .NET or HTML engine installers in the prefix.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
wine=$(command -v wine64 || command -v wine)

cleanup_wine() {
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$wine_tmp"
}
if declare -F cleanup_xvfb >/dev/null; then
  trap 'cleanup_wine; cleanup_xvfb' EXIT
else
  trap cleanup_wine EXIT
fi

# Runs a wine program with a time limit; its exit code, or 124 on time-out.
run_wine_timeout() {
  local seconds=$1
  shift
  timeout --kill-after=5 "$seconds" "$wine" "$@"
}

wine_font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
if [[ ! -f "$wine_font" ]]; then
  echo "missing $wine_font (Debian package fonts-wqy-microhei)"; exit 1
fi
song_font=/usr/share/fonts/truetype/arphic/uming.ttc
if [[ ! -f "$song_font" ]]; then
  echo "missing $song_font (Debian package fonts-arphic-uming)"; exit 1
fi

if ! run_wine_timeout 120 wineboot --init >"$wine_tmp/wineboot.log" 2>&1; then
  echo "wineboot failed:"; cat "$wine_tmp/wineboot.log"; exit 1
fi
song=yes
if [[ "${QUARNET_WINE_FONTS:-song}" == sans ]]; then song=; fi
ln -s "$wine_font" "$WINEPREFIX/drive_c/windows/Fonts/wqy-microhei.ttc"
[[ -z "$song" ]] || ln -s "$song_font" "$WINEPREFIX/drive_c/windows/Fonts/uming.ttc"

# One wine start for all the registry values: a batch file of reg commands.
# YaHei is named here for programs that ask for it by name.
link='wqy-microhei.ttc,WenQuanYi Micro Hei'
{
  for font in Tahoma "Microsoft Sans Serif" "Lucida Sans Unicode"; do
    echo "reg add \"HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink\" /v \"$font\" /t REG_MULTI_SZ /d \"$link\" /f"
  done
  for font in "Microsoft YaHei" "Microsoft YaHei UI"; do
    echo "reg add \"HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes\" /v \"$font\" /t REG_SZ /d \"WenQuanYi Micro Hei\" /f"
  done
  [[ -z "$song" ]] ||
    echo "reg add \"HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes\" /v SimSun /t REG_SZ /d \"AR PL UMing CN\" /f"
} >"$WINEPREFIX/drive_c/quarnet-fonts.bat"
if ! run_wine_timeout 60 cmd /c 'C:\quarnet-fonts.bat' >>"$wine_tmp/wineboot.log" 2>&1; then
  echo "setting the fonts failed:"; cat "$wine_tmp/wineboot.log"; exit 1
fi
