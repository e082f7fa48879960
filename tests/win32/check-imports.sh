#!/usr/bin/env bash
# Checks that a Windows program imports only DLLs that come with Windows, so
# that it runs from its folder alone, with nothing beside it.
#   check-imports.sh OBJDUMP PROGRAM
set -euo pipefail
objdump=$1 program=$2
allowed='^(kernel32|user32|gdi32|comdlg32|comctl32|ole32|shell32|oleaut32|windowscodecs|shcore|msvcrt|ucrtbase|api-ms-win-[a-z0-9-]+)\.dll$'

imports=$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
[[ -n "$imports" ]] || { echo "no imports found in $program"; exit 1; }
echo "imports:" $imports
bad=$(grep -Ev "$allowed" <<<"$imports" || true)
if [[ -n "$bad" ]]; then
  echo "not a Windows system DLL:" $bad
  exit 1
fi
