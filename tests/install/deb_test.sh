#!/usr/bin/env bash
# Makes the .deb from this build folder, has lintian check it, unpacks it as
# dpkg would lay it out, and checks what it holds, what it depends on, that
# the unpacked veltra-cli runs and that man finds its pages.
#   deb_test.sh CPACK BUILD_DIR EXPECTED_FILES VERSION MAKE_SAMPLES
set -euo pipefail
cpack=$1 build=$2 expected=$3 version=$4 make_samples=$5

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "deb: $*" >&2; exit 1; }

"$cpack" -G DEB -B "$scratch/out" --config "$build/CPackConfig.cmake" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
debs=("$scratch"/out/*.deb)
[[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || fail "expected one .deb, got: ${debs[*]}"
deb=${debs[0]}

# Debian's checker finds no error and no warning. (As root it also says
# that it should not run as root, which is no finding.) The package has no
# overrides; one would go in usr/share/lintian/overrides/veltra, after a
# comment that gives its reason.
lintian=$(lintian --fail-on error,warning "$deb" 2>&1) && status=0 || status=$?
if [[ $status -ne 0 ]] || grep -q '^[EW]: ' <<<"$lintian"; then
  echo "$lintian" >&2
  fail "lintian finds errors or warnings (exit status $status)"
fi

field() { dpkg-deb --field "$deb" "$1"; }
[[ $(field Package) == veltra ]] || fail "Package is $(field Package)"
[[ $(field Version) == "$version" ]] || fail "Version is $(field Version), not $version"
# dpkg-shlibdeps found the libraries both programs link.
depends=$(field Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6; do
  [[ ",$depends," =~ [,\ ]"$library"(t64)?[\ ,] ]] || fail "Depends lacks $library: $depends"
done

dpkg-deb -x "$deb" "$scratch/root"
(cd "$scratch/root" && find . \( -type f -o -type l \) | LC_ALL=C sort) >"$scratch/files"
diff -u "$expected" "$scratch/files" || fail "the file list differs from $expected"

# Each bitmap icon is the size its folder says.
for png in "$scratch"/root/usr/share/icons/hicolor/*x*/apps/*.png; do
  size=$(basename "$(dirname "$(dirname "$png")")")
  file -b "$png" | grep -q "^PNG image data, ${size%x*} x ${size#*x}," || fail "$png: $(file -b "$png")"
done

cli=$scratch/root/usr/bin/veltra-cli
[[ $("$cli" --version) == "veltra-cli $version" ]] || fail "--version prints: $("$cli" --version)"
"$make_samples" "$scratch/samples" >/dev/null
shown=$("$cli" show "$scratch/samples/gtx680.rom") || fail "show failed"
grep -qx "name = Geforce GTX 680" <<<"$shown" || fail "show printed: $shown"
grep -qx "checksum = DE - \[DE\]" <<<"$shown" || fail "show printed: $shown"

# `man NAME` finds and renders each page where the package puts it.
for page in veltra veltra-cli; do
  title=$(MANWIDTH=80 man -M "$scratch/root/usr/share/man" "$page" 2>&1 | head -1) || true
  [[ $title == "${page^^}(1)"* ]] || fail "man $page shows: $title"
done

# The changelog's newest entry is this version: a release says what it brought.
newest=$(zcat "$scratch/root/usr/share/doc/veltra/changelog.gz" | dpkg-parsechangelog -l - -S Version) ||
  fail "dpkg-parsechangelog cannot read changelog.gz"
[[ $newest == "$version" ]] || fail "changelog.gz begins with $newest, not $version"
