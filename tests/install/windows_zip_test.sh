#!/usr/bin/env bash
# Packs the Windows download from this build folder, unpacks it and checks
# what it holds, and that each program imports nothing but the system's own
# DLLs, so that it runs from the zip alone.
#   windows_zip_test.sh CMAKE BUILD_DIR EXPECTED_FILES OBJDUMP
set -euo pipefail
cmake=$1 build=$2 expected=$3 objdump=$4

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "zip: $*" >&2; exit 1; }

"$cmake" --build "$build" --target windows_zip >"$scratch/build.log" 2>&1 ||
  { cat "$scratch/build.log" >&2; fail "packing failed"; }
zips=("$build"/veltra-*-win64.zip)
[[ ${#zips[@]} -eq 1 && -f ${zips[0]} ]] || fail "expected one zip, got: ${zips[*]}"
(cd "$scratch" && "$cmake" -E tar xf "${zips[0]}")
(cd "$scratch" && find veltra-*-win64 -type f | sed 's|^[^/]*/||' | LC_ALL=C sort) >"$scratch/files"
diff -u "$expected" "$scratch/files" || fail "the file list differs from $expected"

# DLLs every Windows has; anything else would have to travel beside the .exe.
# Windows spells a DLL's name in any case.
shopt -s nocasematch
system='^(KERNEL32|USER32|GDI32|COMCTL32|COMDLG32|SHELL32|ADVAPI32|ole32|OLEAUT32|UxTheme|msvcrt)\.dll$'
for exe in "$scratch"/veltra-*-win64/*.exe; do
  imports=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p')
  [[ -n $imports ]] || fail "$(basename "$exe"): no imports found"
  while read -r dll; do
    [[ $dll =~ $system ]] || fail "$(basename "$exe") imports $dll, which is no system DLL"
  done <<<"$imports"
done
