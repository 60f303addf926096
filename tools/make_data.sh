#!/usr/bin/env bash
# Regenerates Rillo's run-time data in data/src/: the screen pictures, the turn
# and level pictures, the sounds and the first highscore file.
# Usage: tools/make_data.sh [output folder]   (default: data/src beside tools/)
# Needs the `convert` and `sox` commands, the Liberation fonts and python3.
# Every position the program draws or clicks at comes from game/layout.h,
# through tools/layout.py; the rest of the look is this script's own.
# The output depends only on this script and the layout: running it twice
# gives the same bytes.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/data/src}"
mkdir -p "$out"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# The geometry: BoardRows, DiscFirstX, Name1X, HighscoreRowY, MenuParts, ...
layout="$(python3 "$root/tools/layout.py" --shell)"
eval "$layout"
W=$ScreenPictureWidth
H=$ScreenPictureHeight

# ---------------------------------------------------------------- palette
BG_TOP='#10306E'      # background gradient, top
BG_BOTTOM='#071A45'   # background gradient, bottom
PANEL='#1C4FB8'       # board panel
PANEL_EDGE='#0D2F7C'  # board rim and the ring round each hole
HOLE='#06112B'        # the holes (discs are drawn over them)
SIDE='#0A1F50'        # side panels, table panel, status pictures
FIELD='#040C22'       # dark fields under white text
GOLD='#F6C21C'        # warm yellow accent, menu buttons
GOLD_LIGHT='#FFE07A'  # button rim
INK='#0B1E4A'         # text on gold
SOFT='#C8D6F0'        # secondary text
RED='#E0392B'         # red accent
GREEN='#3DBE6A'       # easy level accent
WHITE='#FFFFFF'

SANS='Liberation-Sans-Bold'
SANS_REG='Liberation-Sans'
SERIF='Liberation-Serif-Bold-Italic'

# Pictures are written as uncompressed 24-bit BMP with the 40-byte header.
save() { # save <convert args...> <file>: writes <file> as BMP3
  local file="${*: -1}"
  local args=("${@:1:$#-1}")
  convert "${args[@]}" -alpha off -type TrueColor -compress none "BMP3:$file"
}

# Draw primitives for one disc in the game's own look: black rim, light ring,
# black ring, dark core (the game's diameters, scaled to <diameter>).
# disc <cx> <cy> <diameter> yellow|red
disc() {
  local light dark
  if [ "$4" = yellow ]; then light='#FFFF00'; dark='#808000'; else light='#FF0000'; dark='#800000'; fi
  awk -v x="$1" -v y="$2" -v d="$3" -v l="$light" -v k="$dark" \
    -v rings="$DiscRimDiameter $DiscRingDiameter $DiscInnerRimDiameter $DiscCoreDiameter" 'BEGIN {
    split(rings, s, " "); split("black " l " black " k, c, " ");
    for (i = 1; i <= 4; i++) {
      r = d * s[i] / (2 * s[1]);
      printf "fill %s circle %g,%g %g,%g ", c[i], x, y, x + r, y;
    } }'
}

background() { echo "-size ${W}x$H gradient:$BG_TOP-$BG_BOTTOM"; }

# The logo: "Rillo" in gold with a dark shadow. logo <pointsize> <gravity> <x> <y>
logo() {
  echo "-font $SERIF -pointsize $1 -gravity $2 -fill #020816 -annotate +$(($3 + 4))+$(($4 + 4)) Rillo -fill $GOLD -annotate +$3+$4 Rillo"
}

# ---------------------------------------------------------------- intro.bmp
intro_discs=""
# a row of four yellow discs flanked by red ones: four in a row
cols=(red yellow yellow yellow yellow red)
for i in 0 1 2 3 4 5; do
  intro_discs+="$(disc $((225 + 70 * i)) 420 60 "${cols[$i]}")"
done
# shellcheck disable=SC2046
save $(background) \
  -fill "$SIDE" -draw "roundrectangle 180,375 620,465 20,20" \
  -stroke "$GOLD" -strokewidth 2 -fill none -draw "roundrectangle 180,375 620,465 20,20" -stroke none \
  -draw "$intro_discs" \
  $(logo 170 North 0 70) \
  -font "$SANS" -pointsize 36 -gravity North -fill "$WHITE" -annotate +0+285 'Vier in einer Reihe' \
  -font "$SANS_REG" -pointsize 24 -fill "$SOFT" -annotate +0+520 'Klicken zum Starten' \
  "$out/intro.bmp"

# ---------------------------------------------------------------- menue.bmp
# Each button is drawn 3 pixels inside its part of its click area (the area
# without the strip it shares with another, see tools/layout.py) so that
# everything that looks like a button is also where a click chooses it.
# In the order of MenuAreas: pointsize label
buttons=("22 Zwei Spieler"
         "14 Computer leicht"
         "14 Computer schwer"
         "22 Bestenliste"
         "22 Mitwirkende")
menu_args=()
for i in "${!buttons[@]}"; do
  read -r pt label <<<"${buttons[$i]}"
  read -r x1 y1 x2 y2 <<<"${MenuParts[$i]}"
  x1=$((x1 + 3)) y1=$((y1 + 3)) x2=$((x2 - 3)) y2=$((y2 - 3))
  menu_args+=(-fill "$GOLD_LIGHT" -draw "roundrectangle $x1,$y1 $x2,$y2 8,8"
              -fill "$GOLD" -draw "roundrectangle $((x1 + 2)),$((y1 + 2)) $((x2 - 2)),$((y2 - 2)) 6,6"
              -font "$SANS" -pointsize "$pt" -fill "$INK" -gravity Center
              -annotate "+$(((x1 + x2) / 2 - W / 2))+$(((y1 + y2) / 2 - H / 2))" "$label")
done
menu_discs="$(disc 95 330 70 yellow)$(disc 150 405 70 red)$(disc 95 480 70 yellow)"
menu_discs+="$(disc 705 335 70 red)$(disc 720 415 50 yellow)$(disc 700 490 70 red)"
# shellcheck disable=SC2046
save $(background) \
  $(logo 120 North 0 40) \
  -font "$SANS" -pointsize 26 -gravity North -fill "$WHITE" -annotate +0+200 'Vier in einer Reihe' \
  -fill "$GOLD" -draw "rectangle 300,250 500,252" \
  -draw "$menu_discs" \
  "${menu_args[@]}" \
  -font "$SANS_REG" -pointsize 18 -gravity North -fill "$SOFT" -annotate +0+555 'Bitte eine Schaltfläche anklicken' \
  "$out/menue.bmp"

# ---------------------------------------------------------------- spielfeld.bmp
# Holes at the disc centres, one pixel wider than a disc's rim on each side
# (diameter 57 for a rim of 55), each with a one-pixel rim of the panel's edge
# colour, so that the rightmost holes end where the click bands do (x 525).
hole=$((DiscRimDiameter / 2 + 1))
holes=""
arrows=""
for ((c = 0; c < BoardColumns; c++)); do
  x=$((DiscStepX * c + DiscFirstX))
  arrows+="polygon $((x - 9)),97 $((x + 9)),97 $x,107 "
  for ((r = 0; r < BoardRows; r++)); do
    y=$((DiscBottomY - DiscStepY * (BoardRows - 1 - r)))
    holes+="fill $PANEL_EDGE circle $x,$y $x,$((y - hole - 1)) fill $HOLE circle $x,$y $x,$((y - hole)) "
  done
done
# The panel spans the click bands, BandFirstX to BoardRight.
px1=$BandFirstX
px2=$BoardRight
# The turn picture's field: a gold frame 3 pixels round the picture's place.
tx1=$TurnPictureX
ty1=$TurnPictureY
tx2=$((TurnPictureX + TurnPictureWidth - 1))
ty2=$((TurnPictureY + TurnPictureHeight - 1))
# Each name is written white on a dark field that reaches 10 pixels left of
# it, 7 above and 29 below, under a heading 31 pixels higher and beside a
# disc of the player's colour.
# shellcheck disable=SC2046
save $(background) \
  $(logo 64 NorthWest 40 12) \
  -font "$SANS_REG" -pointsize 18 -gravity NorthWest -fill "$SOFT" -annotate +230+50 'Vier in einer Reihe' \
  -fill "$GOLD" -draw "$arrows" \
  -fill "$PANEL_EDGE" -draw "roundrectangle $px1,114 $px2,586 14,14" \
  -fill "$PANEL" -draw "roundrectangle $((px1 + 3)),117 $((px2 - 3)),583 12,12" \
  -draw "$holes" \
  -fill "$SIDE" -draw "roundrectangle 548,40 790,590 14,14" \
  -stroke "$PANEL_EDGE" -strokewidth 2 -fill none -draw "roundrectangle 548,40 790,590 14,14" -stroke none \
  -font "$SANS" -pointsize 18 -gravity NorthWest -fill "$SOFT" -annotate "+$tx1+$((ty1 - 32))" 'Am Zug' \
  -fill "$GOLD" -draw "rectangle $((tx1 - 3)),$((ty1 - 3)) $((tx2 + 3)),$((ty2 + 3))" \
  -fill "$FIELD" -draw "rectangle $tx1,$ty1 $tx2,$ty2" \
  -font "$SANS" -pointsize 17 -fill "$GOLD" -annotate "+$Name1X+$((Name1Y - 31))" 'Spieler 1' \
  -fill "$FIELD" -draw "roundrectangle $((Name1X - 10)),$((Name1Y - 7)) 774,$((Name1Y + 29)) 6,6" \
  -draw "$(disc $((Name1X - 28)) $((Name1Y + 11)) 30 yellow)" \
  -fill "$GOLD" -annotate "+$Name2X+$((Name2Y - 31))" 'Spieler 2' \
  -fill "$FIELD" -draw "roundrectangle $((Name2X - 10)),$((Name2Y - 7)) 774,$((Name2Y + 29)) 6,6" \
  -draw "$(disc $((Name2X - 28)) $((Name2Y + 11)) 30 red)" \
  -font "$SANS_REG" -pointsize 15 -fill "$SOFT" \
  -annotate +568+500 'Klicke in eine Spalte,' -annotate +568+520 'um einen Stein' -annotate +568+540 'fallen zu lassen.' \
  "$out/spielfeld.bmp"

# ---------------------------------------------------------------- highscore.bmp
# White table text goes at HighscoreNameX (name) and HighscoreMovesX (moves),
# each row's top at its HighscoreRowY.
table=()
for i in "${!HighscoreRowY[@]}"; do
  t=${HighscoreRowY[$i]}
  colour="$SOFT"; [ "$i" -lt 3 ] && colour="$GOLD"
  table+=(-fill "$FIELD" -draw "roundrectangle 40,$((t - 6)) 760,$((t + 26)) 6,6"
          -font "$SANS" -pointsize 20 -gravity NorthEast -fill "$colour" -annotate "+$((W - 88))+$((t - 2))" "$((i + 1))."
          -gravity NorthWest)
done
# shellcheck disable=SC2046
save $(background) \
  -fill "$SIDE" -draw "roundrectangle 25,108 775,590 14,14" \
  -font "$SANS" -pointsize 52 -gravity North -fill '#020816' -annotate +3+29 'Bestenliste' \
  -fill "$GOLD" -annotate +0+26 'Bestenliste' \
  -font "$SANS" -pointsize 20 -gravity NorthWest -fill "$GOLD" -annotate +40+120 'Platz' -annotate "+$HighscoreNameX+120" 'Name' -annotate "+$HighscoreMovesX+120" 'Züge' \
  "${table[@]}" \
  "$out/highscore.bmp"

# ---------------------------------------------------------------- credits.bmp
# shellcheck disable=SC2046
save $(background) \
  -fill "$SIDE" -draw "roundrectangle 100,130 700,510 16,16" \
  -font "$SANS" -pointsize 52 -gravity North -fill '#020816' -annotate +3+43 'Mitwirkende' \
  -fill "$GOLD" -annotate +0+40 'Mitwirkende' \
  -font "$SERIF" -pointsize 40 -fill "$GOLD" -annotate +0+150 'Rillo' \
  -font "$SANS_REG" -pointsize 20 -fill "$SOFT" -annotate +0+200 'Vier in einer Reihe' \
  -font "$SANS" -pointsize 18 -fill "$GOLD" -annotate +0+250 'Idee und Programmierung' \
  -font "$SANS_REG" -pointsize 20 -fill "$WHITE" -annotate +0+274 'Das Rillo-Team' \
  -font "$SANS" -pointsize 18 -fill "$GOLD" -annotate +0+320 'Bilder und Klänge' \
  -font "$SANS_REG" -pointsize 20 -fill "$WHITE" -annotate +0+344 'Selbst gezeichnet und selbst erzeugt' \
  -font "$SANS" -pointsize 18 -fill "$GOLD" -annotate +0+390 'Computergegner' \
  -font "$SANS_REG" -pointsize 20 -fill "$WHITE" -annotate +0+414 'Zwei Spielstärken: leicht und schwer' \
  -font "$SANS" -pointsize 22 -fill "$GOLD" -annotate +0+462 'Danke fürs Spielen!' \
  -draw "$(disc 70 550 60 yellow)$(disc 730 550 60 red)" \
  -font "$SANS_REG" -pointsize 24 -fill "$SOFT" -annotate +0+540 'Klicken zum Beenden' \
  "$out/credits.bmp"

# ---------------------------------------------------------------- turn pictures
# turn_picture <file> yellow|red <first line> <pointsize> <top of first line>
turn_picture() {
  save -size "${TurnPictureWidth}x$TurnPictureHeight" "xc:$GOLD" \
    -fill "$SIDE" -draw "rectangle 2,2 $((TurnPictureWidth - 3)),$((TurnPictureHeight - 3))" \
    -draw "$(disc 28 29 42 "$2")" \
    -font "$SANS" -pointsize "$4" -gravity NorthWest -fill "$WHITE" -annotate "+54+$5" "$3" \
    -font "$SANS" -pointsize 16 -fill "$GOLD" -annotate +54+31 'ist dran' \
    "$1"
}
turn_picture "$out/spieler1.bmp" yellow 'Spieler 1' 19 8
turn_picture "$out/spieler2.bmp" red 'Spieler 2 / Computer' 14 12

# ---------------------------------------------------------------- level pictures
# level_picture <file> <accent> <word> <bars filled of 3>
level_picture() {
  local bars="" i
  for i in 0 1 2; do
    local x=$((70 + 26 * i)) fill="$FIELD"
    [ "$i" -lt "$4" ] && fill="$2"
    bars+="fill $fill rectangle $x,$((114 - 8 * i)) $((x + 18)),122 "
  done
  save -size "${LevelPictureWidth}x$LevelPictureHeight" "xc:$2" \
    -fill "$SIDE" -draw "rectangle 3,3 $((LevelPictureWidth - 4)),$((LevelPictureHeight - 4))" \
    -font "$SANS" -pointsize 24 -gravity North -fill "$WHITE" -annotate +0+10 'Computer' \
    -font "$SANS" -pointsize 40 -fill "$2" -annotate +0+44 "$3" \
    -stroke "$SOFT" -strokewidth 1 -draw "$bars" -stroke none \
    "$1"
}
level_picture "$out/compuleicht.bmp" "$GREEN" leicht 1
level_picture "$out/compuschwer.bmp" "$RED" schwer 3

# ---------------------------------------------------------------- sounds
# Mono, 22050 Hz, 16-bit PCM; -R keeps noise and dither repeatable.
snd() { sox -R "$@"; }
fmt=(-r 22050 -c 1 -b 16 -e signed-integer)

# fallen.wav: a short click with a falling knock under it
snd -n "${fmt[@]}" "$tmp/click.wav" synth 0.03 brownnoise vol 0.6 fade q 0.001 0.03 0.025
snd -n "${fmt[@]}" "$tmp/knock.wav" synth 0.2 sine 420:140 vol 0.6 fade q 0.002 0.2 0.17
snd -m "$tmp/click.wav" "$tmp/knock.wav" "${fmt[@]}" "$out/fallen.wav" lowpass 3000 norm -3

# voll.wav: a dull low buzz, two close square tones beating against each other
# (one file serves both spellings of the name, Windows ignores case)
snd -n "${fmt[@]}" "$tmp/buzz1.wav" synth 0.3 square 98 vol 0.4
snd -n "${fmt[@]}" "$tmp/buzz2.wav" synth 0.3 square 104 vol 0.4
snd -m "$tmp/buzz1.wav" "$tmp/buzz2.wav" "${fmt[@]}" "$out/voll.wav" lowpass 600 fade q 0.01 0.3 0.08 norm -4

# gewonnen.wav: a rising fanfare, C E G and a held high C, about 1.2 seconds
notes=("0.14 523.25" "0.14 659.25" "0.14 783.99" "0.55 1046.50")
parts=()
for i in "${!notes[@]}"; do
  read -r len f <<<"${notes[$i]}"
  snd -n "${fmt[@]}" "$tmp/n$i.wav" synth "$len" square "$f" vol 0.3 lowpass 2500 fade q 0.005 "$len" 0.04
  parts+=("$tmp/n$i.wav")
done
snd "${parts[@]}" "${fmt[@]}" "$out/gewonnen.wav" pad 0 0.23 reverb 20 50 40 fade q 0 1.2 0.3 norm -3

# ---------------------------------------------------------------- Highscore.txt
printf '%s\n' 'Mara 9' 'Tilo 11' 'Henrike 12' 'Jasper 14' 'Ole 16' \
  'Frieda 18' 'Lennart 21' 'Wiebke 24' 'Bjarne 27' 'Ilka 30' >"$out/Highscore.txt"

echo "data written to $out"
