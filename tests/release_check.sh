#!/usr/bin/env bash
# The release as a user gets it: the zip is made, unzipped into a fresh folder, and the renamer in
# it runs an unattended replacement there under Wine; the files and the change log are checked.
#   release_check.sh <build folder>
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
zip=$("$root/tools/make-dist.sh" "$1") || { echo "make-dist failed"; exit 1; }
place=$(mktemp -d)
trap 'rm -rf "$place"' EXIT
unzip -q "$zip" -d "$place/program" || { echo "unzip failed"; exit 1; }
for file in korvalith.exe korvalmacroedit.exe bregonig.dll bregexp.dll readme.txt help/index.html; do
  [ -f "$place/program/$file" ] || { echo "missing in the zip: $file"; exit 1; }
done
# readme.txt is Shift_JIS with CR LF.
iconv -f CP932 -t UTF-8 "$place/program/readme.txt" | grep -q 'こ～ばりす～ず' || { echo "readme.txt is not Shift_JIS"; exit 1; }
grep -q $'\r$' "$place/program/readme.txt" || { echo "readme.txt lines do not end in CR LF"; exit 1; }
mkdir "$place/work"
printf 'x' >"$place/work/a_1.txt"
printf 'y' >"$place/work/a_2.txt"
work="Z:${place//\//\\}\\work"
"$root/tools/wine-launch.sh" "$place/program/korvalith.exe" 's/a_/b_/' "$work"
rc=$?
[ "$rc" -eq 0 ] || { echo "the unattended run ended with $rc"; exit 1; }
names=$(cd "$place/work" && ls | tr '\n' ' ')
[ "$names" = "b_1.txt b_2.txt " ] || { echo "files after the run: $names"; exit 1; }
log="$place/program/rename1.log"
[ -f "$log" ] || { echo "no change log beside the program"; exit 1; }
lines=$(iconv -f UTF-16 -t UTF-8 "$log" | grep -c '<NORMAL>')
[ "$lines" -eq 2 ] || { echo "change log lines: $lines"; exit 1; }
echo "release unzipped, run and logged as expected"
