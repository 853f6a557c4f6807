#!/usr/bin/env bash
# Every link and image of the help pages points to a file that exists beside them.
#   help_links_check.sh <help folder>
set -u
help=$1
[ -f "$help/index.html" ] || { echo "no index.html in $help"; exit 1; }
broken=0
for page in "$help"/*.html; do
  for target in $(grep -oE '(href|src)="[^"]*"' "$page" | sed -E 's/^(href|src)="([^"]*)"$/\2/'); do
    case "$target" in
      http:*|https:*|mailto:*|"#"*) continue ;;
    esac
    file=${target%%#*}
    [ -z "$file" ] && continue
    if [ ! -e "$(dirname "$page")/$file" ]; then
      echo "$(basename "$page"): broken link $target"
      broken=1
    fi
  done
done
[ "$broken" -eq 0 ] && echo "all links of $(ls "$help"/*.html | wc -l) pages found"
exit $broken
