#!/usr/bin/env bash
# Runs a Windows program under wine in a private, throw-away wine prefix, and
# passes on its exit code. Used as CMake's cross-compiling emulator.
set -uo pipefail
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
wine_tmp=$(mktemp -d /tmp/quarnet-wine.XXXXXX)
export WINEPREFIX="$wine_tmp/prefix"
# Wine links Documents and the other user folders to $HOME: a home of its own
# keeps what the programs write there inside the throw-away folder.
export HOME="$wine_tmp/home"
mkdir "$HOME"
trap 'wineserver -k >/dev/null 2>&1; rm -rf "$wine_tmp"' EXIT
wine=$(command -v wine64 || command -v wine)
# No display: wine needs none for console programs.
DISPLAY= "$wine" "$@"
