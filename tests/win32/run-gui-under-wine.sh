#!/usr/bin/env bash
# Runs a Windows program that makes windows under wine, in a private Xvfb
# server and a private, throw-away wine prefix with the program's fonts, and
# passes on its exit code.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../system/xvfb-session.sh"
source "$here/../system/wine-prefix.sh"
"$wine" "$@"
