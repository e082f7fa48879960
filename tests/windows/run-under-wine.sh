#!/usr/bin/env bash
# Runs a Windows program under wine in a private, throw-away wine prefix, and
# passes on its exit code. Used as CMake's cross-compiling emulator.
set -uo pipefail
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export WINEPREFIX=$(mktemp -d /tmp/quarnet-wine.XXXXXX)
trap 'wineserver -k >/dev/null 2>&1; rm -rf "$WINEPREFIX"' EXIT
wine=$(command -v wine64 || command -v wine)
# No display: wine needs none for console programs.
DISPLAY= "$wine" "$@"
