#!/usr/bin/env bash
# Draws the renamer's small bitmaps (toolbar, status icon strip, pictures of the main dialog) with
# ImageMagick into resources/, each at 16, 24 and 32 pixels ("name.bmp", "name_24.bmp",
# "name_32.bmp") so that the programs show sharp pictures at every display scaling. The drawings are
# given on a 16-pixel grid and scaled as vectors. Run by hand after changing a drawing; the results
# are checked in.
set -euo pipefail
out=$(cd "$(dirname "${BASH_SOURCE[0]}")/../resources" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
font=DejaVu-Sans-Bold
px=16   # the size being drawn; every drawing below is given for 16 pixels

# tile <file> <drawing...>: one px x px image on the background; the -draw primitives are scaled
# from the 16-pixel grid, strokes with them.
tile() {
  local f=$1 scale
  shift
  scale=$(awk "BEGIN { print $px / 16 }")
  local args=() next=""
  for a in "$@"; do
    if [ "$next" = draw ]; then args+=("scale $scale,$scale $a"); else args+=("$a"); fi
    next=""; [ "$a" = -draw ] && next=draw
  done
  convert -size "${px}x${px}" "xc:$bg" "${args[@]}" "$tmp/$f.png"
}
glyph() {
  local f=$1 colour=$2 size=$3 text=$4
  tile "$f" -font "${5:-$font}" -pointsize "$(( size * px / 16 ))" -fill "$colour" -gravity center -annotate +0+0 "$text"
}

# draw_all <suffix>: every bitmap at the size px.
draw_all() {
  local suffix=$1
  bg='#C0C0C0'   # the toolbar's transparent colour (button face)
  tile t00 -fill '#E8C040' -stroke '#806020' -draw 'polygon 1,4 6,4 7,6 14,6 14,13 1,13'
  tile t01 -fill white -stroke '#404040' -draw 'rectangle 3,1 12,14' -fill '#20A020' -stroke none -draw 'rectangle 5,4 10,5' -draw 'rectangle 5,8 10,9'
  tile t02 -fill '#4060C0' -stroke '#203060' -draw 'rectangle 2,2 13,13' -fill white -stroke none -draw 'rectangle 4,3 11,7'
  glyph t03 '#208020' 14 '↻'
  tile t04 -stroke '#404040' -fill none -draw 'circle 4,12 4,14' -draw 'circle 11,12 11,14' -draw 'line 5,10 11,2' -draw 'line 10,10 4,2'
  tile t05 -fill white -stroke '#404040' -draw 'rectangle 1,1 9,11' -draw 'rectangle 6,4 14,14'
  tile t06 -fill '#C09050' -stroke '#604020' -draw 'rectangle 2,3 12,14' -fill white -draw 'rectangle 6,6 14,15'
  tile t07 -fill '#2050C0' -stroke none -draw 'polygon 8,2 14,9 10,9 10,14 6,14 6,9 2,9'
  tile t08 -fill '#2050C0' -stroke none -draw 'polygon 8,14 14,7 10,7 10,2 6,2 6,7 2,7'
  tile t09 -stroke '#404040' -fill none -draw 'line 3,2 3,13' -draw 'line 3,6 8,6' -draw 'line 3,12 8,12' -fill '#E8C040' -draw 'rectangle 9,4 14,8' -draw 'rectangle 9,10 14,14'
  glyph t10 '#C02020' 13 '★'
  tile t11 -fill '#D02020' -stroke '#701010' -draw 'circle 8,8 8,2'
  glyph t12 '#404040' 14 '⚙'
  glyph t13 '#2050C0' 13 'i'
  convert "$tmp"/t{00..13}.png +append -type truecolor "BMP3:$out/toolbar$suffix.bmp"

  # The status icons in the about box's order: TooLong, InvalidName, TargetExists, SourceMissing,
  # Backslash, UnsuitableChar, Unchanged, Ready, Filtered, Succeeded, Failed, UndoEntry.
  bg=white
  glyph s01 '#D02020' 8 '256'
  glyph s02 '#D02020' 13 '!!'
  tile s03 -fill white -stroke '#D02020' -draw 'rectangle 1,1 9,11' -draw 'rectangle 6,4 14,14'
  tile s04 -fill white -stroke '#404040' -draw 'rectangle 1,1 9,12' -fill none -draw 'circle 10,10 10,7' -draw 'line 12,12 15,15'
  glyph s05 '#D02020' 14 '¥'
  tile s06 -fill '#E8D020' -stroke '#806000' -draw 'circle 8,8 8,2'
  glyph s07 '#8030B0' 13 '同' Noto-Sans-CJK-JP-Bold
  tile s08 -fill '#20B020' -stroke '#106010' -draw 'circle 8,8 8,2'
  tile s09 -fill '#901010' -stroke none -draw 'circle 8,8 8,1' -fill white -draw 'rectangle 3,7 13,9'
  glyph s10 '#2050D0' 9 'OK'
  glyph s11 '#D02020' 9 'NG'
  glyph s12 '#2050D0' 14 '↶'
  convert "$tmp"/s{01..12}.png +append -type truecolor "BMP3:$out/status_strip$suffix.bmp"
  # The same icons for the list, by status code 0..12 (0, not yet checked, is blank).
  tile s00
  convert "$tmp"/s{00,01,02,03,05,06,07,08,10,12,04,11,09}.png +append -type truecolor "BMP3:$out/status_icons$suffix.bmp"

  # Pictures of the main dialog: the preview mark and the list target (files, folders).
  bg='#F0F0F0'
  tile preview -fill '#E0A000' -stroke none -draw 'polygon 2,4 14,4 8,13'
  convert "$tmp/preview.png" -type truecolor "BMP3:$out/preview_mark$suffix.bmp"
  tile files -fill white -stroke '#404040' -draw 'polygon 3,1 10,1 13,4 13,14 3,14' -draw 'line 5,6 11,6' -draw 'line 5,9 11,9'
  convert "$tmp/files.png" -type truecolor "BMP3:$out/target_files$suffix.bmp"
  tile folders -fill '#E8C040' -stroke '#806020' -draw 'polygon 1,4 6,4 7,6 14,6 14,13 1,13'
  convert "$tmp/folders.png" -type truecolor "BMP3:$out/target_folders$suffix.bmp"
}

px=16 draw_all ""
px=24 draw_all _24
px=32 draw_all _32
