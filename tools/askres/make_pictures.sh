#!/bin/sh
# Generates the pictures of the demo extension resource library (needs
# Debian's imagemagick). Run from this folder; the results are committed.
set -e
C=/usr/bin/convert
# 1100: a support banner, 1003: the "open" button face, 1102: the tab icon.
$C -size 200x60 gradient:'#1d4f91-#5fa8e8' -fill white -font DejaVu-Sans-Bold -pointsize 22 \
   -gravity center -annotate +0+0 'Zed Support' -type truecolor BMP3:support_banner.bmp
$C -size 96x28 xc:'#f0f0f0' -fill '#1d4f91' -draw 'roundrectangle 1,1 94,26 6,6' -fill white \
   -font DejaVu-Sans-Bold -pointsize 13 -gravity center -annotate +0+0 'www' \
   -type truecolor BMP3:open_button.bmp
$C -size 16x16 xc:none -fill '#1d4f91' -draw 'circle 8,8 8,1' -fill white \
   -draw 'rectangle 7,4 9,5' -draw 'rectangle 7,7 9,12' tab.ico
