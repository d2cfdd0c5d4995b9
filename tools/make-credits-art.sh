#!/usr/bin/env bash
# Draws options/art/credits.jpg, the picture of the credits window: 320 x 240, a dark blue-to-purple
# backdrop, a row of upright 3D bars in the program's purple and blue (the icon's palette, see
# tools/make-icon.py) standing on a floor that reflects them, and the words "Tamik" and "Credits".
#
#   bash tools/make-credits-art.sh [OUTPUT]      # default: options/art/credits.jpg of this repository
#
# The picture is committed, so building the program never runs this. It uses ImageMagick and the
# DejaVu fonts, installing them with apt-get (as root) when missing. With the same ImageMagick and
# fonts the output is the same byte for byte.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-options/art/credits.jpg}

packages=(imagemagick fonts-dejavu-core)
missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

convert=/usr/bin/convert
fonts=/usr/share/fonts/truetype/dejavu
bold=$fonts/DejaVuSans-Bold.ttf
regular=$fonts/DejaVuSans.ttf

work=$(mktemp -d /tmp/tamik-credits-art.XXXXXX)
trap 'rm -rf "$work"' EXIT

width=320
height=240
floor=206 # the row the bars stand on

# The icon's palette: outline, top face, lit left edge, front face, side face.
purple=("#2A0E4C" "#D9B8F7" "#B072EA" "#8B3FD6" "#521E8A")
blue=("#0A2250" "#B4DAFF" "#6CB0FF" "#247CE8" "#124596")

# One gauge bar as draw primitives, as the program draws its bars: an upright prism `h` high whose
# front face is `w` wide with its bottom-left corner at (x, floor), its side and top faces receding
# `dx` right and `dy` up; an empty glass part above, filled from the bottom up to `load` pixels.
bar() {
  local x=$1 w=$2 h=$3 load=$4 dx=$5 dy=$6
  shift 6
  local outline=$1 top=$2 lit=$3 front=$4 side=$5
  local x2=$((x + w)) y0=$floor ytop=$((floor - h)) yfill=$((floor - load))
  local lw=$((w / 4))
  printf '%s\n' \
    "stroke none" \
    "fill #2A2266 fill-opacity 0.45 rectangle $x,$ytop $x2,$y0" \
    "fill #1A1448 polygon $x2,$y0 $((x2 + dx)),$((y0 - dy)) $((x2 + dx)),$((ytop - dy)) $x2,$ytop" \
    "fill #4A3C9A polygon $x,$ytop $((x + dx)),$((ytop - dy)) $((x2 + dx)),$((ytop - dy)) $x2,$ytop" \
    "fill-opacity 1" \
    "fill $front rectangle $x,$yfill $x2,$y0" \
    "fill $lit rectangle $x,$yfill $((x + lw)),$y0" \
    "fill $side polygon $x2,$y0 $((x2 + dx)),$((y0 - dy)) $((x2 + dx)),$((yfill - dy)) $x2,$yfill" \
    "fill $top polygon $x,$yfill $((x + dx)),$((yfill - dy)) $((x2 + dx)),$((yfill - dy)) $x2,$yfill" \
    "stroke $outline stroke-width 1 fill none" \
    "line $x,$yfill $x2,$yfill" \
    "line $x2,$yfill $((x2 + dx)),$((yfill - dy))" \
    "stroke #7F6FD8 stroke-opacity 0.9" \
    "polygon $x,$y0 $x,$ytop $((x + dx)),$((ytop - dy)) $((x2 + dx)),$((ytop - dy)) $((x2 + dx)),$((y0 - dy)) $x2,$y0" \
    "line $x,$ytop $x2,$ytop" \
    "line $x2,$ytop $((x2 + dx)),$((ytop - dy))" \
    "line $x2,$ytop $x2,$y0" \
    "stroke-opacity 1"
}

# Eight bars, alternately purple and blue, at loads that rise and fall like a busy machine's.
{
  loads=(46 78 58 88 66 82 38 60)
  x=22
  for i in "${!loads[@]}"; do
    if ((i % 2 == 0)); then
      bar "$x" 24 92 "${loads[$i]}" 10 7 "${purple[@]}"
    else
      bar "$x" 24 92 "${loads[$i]}" 10 7 "${blue[@]}"
    fi
    x=$((x + 35))
  done
} >"$work/bars.mvg"

# The backdrop: a diagonal gradient from deep navy to dark purple, a soft glow behind the bars and
# a floor slightly lighter than the air above it.
"$convert" -size ${width}x${height} -define gradient:angle=135 "gradient:#0B1438-#2E0F4F" \
  \( -size ${width}x${height} xc:none -fill "#5A3FB0" -draw "ellipse 160,170 150,60 0,360" \
  -blur 0x28 -channel A -evaluate multiply 0.55 +channel \) -composite \
  \( -size ${width}x$((height - floor)) "gradient:#1A1440-#090A1E" \) \
  -geometry +0+$floor -composite \
  -fill none -stroke "#6C5BC8" -strokewidth 1 -draw "line 0,$floor $width,$floor" \
  "$work/backdrop.png"

# The bars on a transparent layer, and their reflection: flipped about the floor, faded out
# downwards.
"$convert" -size ${width}x${height} xc:none -draw "$(cat "$work/bars.mvg")" "$work/bars.png"
"$convert" "$work/bars.png" -crop ${width}x$((height - floor))+0+$((floor - (height - floor))) \
  +repage -flip \
  \( -size ${width}x$((height - floor)) "gradient:gray(30%)-black" \) \
  -channel A -compose multiply -composite +channel "$work/reflection.png"

# The words: "Tamik" large with a soft shadow, "Credits" below it, spaced out.
"$convert" "$work/backdrop.png" \
  "$work/reflection.png" -geometry +0+$floor -compose over -composite \
  "$work/bars.png" -compose over -composite \
  \( -size ${width}x${height} xc:none -font "$bold" -pointsize 46 -fill "#05061A" \
  -gravity north -annotate +2+20 "Tamik" -blur 0x3 \) -compose over -composite \
  -font "$bold" -pointsize 46 -gravity north \
  -fill "#F2E9FF" -annotate +0+17 "Tamik" \
  -font "$regular" -pointsize 17 -kerning 5 -fill "#B4DAFF" \
  -annotate +0+74 "Credits" \
  -strip -sampling-factor 1x1 -quality 92 "$work/credits.jpg"

mkdir -p "$(dirname "$out")"
mv "$work/credits.jpg" "$out"
echo "Wrote $out ($(stat -c %s "$out") bytes)"
