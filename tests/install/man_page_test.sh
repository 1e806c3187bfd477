#!/usr/bin/env bash
# A man page renders without a single warning from man and groff. Given
# veltra-cli and the sample maker, its page must also name every command and
# option that `--help` lists and every item that `show` prints.
#   man_page_test.sh PAGE [VELTRA_CLI MAKE_SAMPLES]
set -euo pipefail
page=$1

warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
if [[ -n "$warnings" ]]; then
  echo "$page: man and groff warn:" >&2
  echo "$warnings" >&2
  exit 1
fi

[[ $# -eq 1 ]] && exit 0
cli=$2 make_samples=$3

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$make_samples" "$scratch" >/dev/null

# The page's words with roff's escaped hyphens made plain.
words=$(sed 's/\\-/-/g' "$page" | tr -c 'A-Za-z0-9_-' '\n' | sort -u)
missing=()
need() { grep -qxF -- "$1" <<<"$words" || missing+=("$1"); }

for command in show set diff check; do
  need "$command"
  for option in $("$cli" "$command" --help | grep -oE -- '(^|[ ,])--?[a-z][a-z-]*' | tr -d ' ,'); do
    need "$option"
  done
done
for option in $("$cli" --help | grep -oE -- '(^|[ ,])--?[a-z][a-z-]*' | tr -d ' ,'); do
  need "$option"
done

# Items, by the names show prints; the boost ladder is written as its first
# and its longest last entry. The samples have no read-only values.
items=$( { "$cli" show "$scratch"/gtx680.rom; "$cli" show --offsets "$scratch"/gtx680.rom; } | sed -n 's/^\([a-z0-9-]*\) = .*/\1/p' | sort -u)
for item in $items boost-64 boost-limit cooler-fan-min cooler-fan-max; do
  [[ $item =~ ^boost-[0-9][0-9]$ && $item != boost-01 && $item != boost-64 ]] && continue
  need "$item"
done

if [[ ${#missing[@]} -gt 0 ]]; then
  echo "$page does not mention: ${missing[*]}" >&2
  exit 1
fi
