#!/usr/bin/env bash
# Runs a Windows program that makes windows under wine, in a private Xvfb
# server and a private, throw-away wine prefix, and passes on its exit code.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../system/xvfb-session.sh"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export WINEPREFIX=$(mktemp -d /tmp/quarnet-wine.XXXXXX)
cleanup() {
  wineserver -k >/dev/null 2>&1
  rm -rf "$WINEPREFIX"
  cleanup_xvfb
}
trap cleanup EXIT
wine=$(command -v wine64 || command -v wine)
"$wine" "$@"
