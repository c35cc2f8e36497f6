#!/bin/sh
# Rebuilds the seed corpus: small pictures of each decoder's common layouts, each prefixed
# with the byte that selects its extension (0 bmp, 1 jpg, 2 png, 3 tif, 4 gif).
set -e
out=$(dirname "$0")/corpus/fuzz_picture_load
tmp=$(mktemp -d)
mkdir -p "$out"
convert -size 24x16 gradient:red-blue -draw "circle 8,8 12,8" "$tmp/base.png"
seed() {  # seed NAME PREFIX FILE
  printf "\\$(printf '%03o' "$2")" > "$out/$1"
  cat "$3" >> "$out/$1"
}
convert "$tmp/base.png" -type truecolor "BMP3:$tmp/a.bmp"; seed bmp_24bit 0 "$tmp/a.bmp"
convert "$tmp/base.png" -monochrome "BMP3:$tmp/b.bmp"; seed bmp_1bit 0 "$tmp/b.bmp"
convert "$tmp/base.png" -colors 16 -type palette "BMP3:$tmp/c.bmp"; seed bmp_4bit 0 "$tmp/c.bmp"
convert "$tmp/base.png" -colors 200 -compress RLE "BMP3:$tmp/d.bmp"; seed bmp_rle8 0 "$tmp/d.bmp"
convert "$tmp/base.png" -alpha set "BMP:$tmp/e.bmp"; seed bmp_v5_alpha 0 "$tmp/e.bmp"
convert "$tmp/base.png" -quality 80 "$tmp/f.jpg"; seed jpeg_baseline 1 "$tmp/f.jpg"
convert "$tmp/base.png" -interlace JPEG "$tmp/g.jpg"; seed jpeg_progressive 1 "$tmp/g.jpg"
convert "$tmp/base.png" -colorspace gray "$tmp/h.jpg"; seed jpeg_grey 1 "$tmp/h.jpg"
cp "$tmp/base.png" "$tmp/i.png"; seed png_rgb 2 "$tmp/i.png"
convert "$tmp/base.png" -alpha set -channel A -evaluate set 50% "$tmp/j.png"; seed png_alpha 2 "$tmp/j.png"
convert "$tmp/base.png" -colors 8 "PNG8:$tmp/k.png"; seed png_palette 2 "$tmp/k.png"
convert "$tmp/base.png" -depth 16 "PNG48:$tmp/l.png"; seed png_16bit 2 "$tmp/l.png"
convert "$tmp/base.png" -interlace PNG "$tmp/m.png"; seed png_interlaced 2 "$tmp/m.png"
convert "$tmp/base.png" -compress none "$tmp/n.tif"; seed tiff_plain 3 "$tmp/n.tif"
convert "$tmp/base.png" -compress lzw "$tmp/o.tif"; seed tiff_lzw 3 "$tmp/o.tif"
convert "$tmp/base.png" -monochrome -compress group4 "$tmp/p.tif"; seed tiff_g4 3 "$tmp/p.tif"
convert "$tmp/base.png" -compress jpeg "$tmp/q.tif"; seed tiff_jpeg 3 "$tmp/q.tif"
convert "$tmp/base.png" "$tmp/r.gif"; seed gif 4 "$tmp/r.gif"
rm -r "$tmp"
