#!/usr/bin/env bash
# Draws the picture of the main window (portada.png) and the program icon
# (icono.png). Both are committed; run this again only to change the drawing.
# Needs ImageMagick and the DejaVu fonts.
set -euo pipefail
cd "$(dirname "$0")"

fuente=DejaVu-Sans-Bold
fuenteTexto=DejaVu-Sans

# 960 x 600 on white: a sky band, a town of offices, a factory with chimneys,
# a rising bar chart with its arrow, coins, and the program's name.
convert -size 960x600 xc:white \
  -fill '#eaf1fb' -draw "roundrectangle 40,40 920,470 28,28" \
  -fill '#c9dbf3' -draw "roundrectangle 40,380 920,470 28,28" -draw "rectangle 40,380 920,440" \
  -fill '#9fb8dc' \
    -draw "rectangle 90,250 150,380" -draw "rectangle 160,200 215,380" \
    -draw "rectangle 225,280 290,380" -draw "rectangle 700,230 760,380" \
    -draw "rectangle 770,180 830,380" -draw "rectangle 840,270 890,380" \
  -fill '#ffffff' \
    -draw "rectangle 100,265 112,280" -draw "rectangle 125,265 137,280" \
    -draw "rectangle 100,295 112,310" -draw "rectangle 125,295 137,310" \
    -draw "rectangle 172,215 184,230" -draw "rectangle 192,215 204,230" \
    -draw "rectangle 172,245 184,260" -draw "rectangle 192,245 204,260" \
    -draw "rectangle 172,275 184,290" -draw "rectangle 192,275 204,290" \
    -draw "rectangle 782,195 794,210" -draw "rectangle 806,195 818,210" \
    -draw "rectangle 782,225 794,240" -draw "rectangle 806,225 818,240" \
    -draw "rectangle 712,245 724,260" -draw "rectangle 736,245 748,260" \
  -fill '#274b86' \
    -draw "rectangle 330,300 620,420" \
    -draw "polygon 330,300 390,260 390,300" -draw "polygon 390,300 450,260 450,300" \
    -draw "polygon 450,300 510,260 510,300" \
    -draw "rectangle 530,170 560,300" -draw "rectangle 575,200 600,300" \
  -fill '#f2f2f2' \
    -draw "rectangle 350,330 380,360" -draw "rectangle 400,330 430,360" \
    -draw "rectangle 450,330 480,360" -draw "rectangle 545,330 600,420" \
  -fill '#d0d7e2' \
    -draw "circle 545,150 562,150" -draw "circle 570,122 592,122" -draw "circle 600,95 626,95" \
    -draw "circle 588,182 602,182" \
  -fill '#2e8b57' \
    -draw "rectangle 640,390 665,420" -draw "rectangle 672,365 697,420" \
    -draw "rectangle 704,330 729,420" -draw "rectangle 736,290 761,420" \
    -draw "rectangle 768,245 793,420" \
  -stroke '#c0392b' -strokewidth 8 -fill none \
    -draw "line 625,400 685,350" -draw "line 685,350 720,365" -draw "line 720,365 790,250" \
    -draw "line 790,250 835,205" \
  -stroke none -fill '#c0392b' -draw "polygon 850,185 818,198 838,222" \
  -fill '#e5b32e' -stroke '#a67c12' -strokewidth 2 \
    -draw "ellipse 180,430 34,12 0,360" -draw "ellipse 180,418 34,12 0,360" \
    -draw "ellipse 180,406 34,12 0,360" -draw "ellipse 240,432 34,12 0,360" \
  -stroke none -fill '#1f3b6b' -font "$fuente" -pointsize 72 -gravity north \
    -annotate +0+480 'CORVELIAN' \
  -fill '#5a6b85' -font "$fuenteTexto" -pointsize 24 \
    -annotate +0+562 'Simulación de empresas para el aula' \
  -strip portada.png

# 64 x 64: the factory and the rising arrow.
convert -size 64x64 xc:'#1f3b6b' \
  -fill white -draw "rectangle 8,34 40,54" -draw "polygon 8,34 18,26 18,34" \
    -draw "polygon 18,34 28,26 28,34" -draw "rectangle 32,18 38,34" \
  -stroke '#e5b32e' -strokewidth 5 -fill none -draw "line 30,50 42,38" -draw "line 42,38 48,42" -draw "line 48,42 58,22" \
  -stroke none -fill '#e5b32e' -draw "polygon 61,14 52,20 60,26" \
  -strip icono.png
