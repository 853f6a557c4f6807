#!/usr/bin/env bash
# `make dist`: the release zip build/korvalith-<version>.zip with both programs, the two regular
# expression libraries, the help pages and readme.txt (Shift_JIS with CR LF, as Japanese freeware
# ships it). The version comes from resources/version.h.
#   tools/make-dist.sh [build folder]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build}
version=$(sed -n 's/^#define KORVAL_VERSION_TEXT "\(.*\)"$/\1/p' "$root/resources/version.h")
[ -n "$version" ] || { echo "make-dist: no version in resources/version.h" >&2; exit 1; }
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
for file in korvalith.exe korvalmacroedit.exe bregonig.dll bregexp.dll; do
  cp "$build/bin/$file" "$stage/"
done
cp -r "$root/docs/help" "$stage/help"
sed "s/@VERSION@/$version/g" "$root/docs/readme.txt.in" | sed 's/$/\r/' | iconv -f UTF-8 -t CP932 >"$stage/readme.txt"
zip_path="$build/korvalith-$version.zip"
rm -f "$zip_path"
(cd "$stage" && zip -q -r -X "$zip_path" .)
echo "$zip_path"
