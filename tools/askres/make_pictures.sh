#!/bin/sh
# Generates the pictures of the demo extension resource library (needs
# Debian's imagemagick). Run from this folder; the results are committed.
set -e
C=/usr/bin/convert
# 1100: a support banner, 1003: the "open" button face, 1102: the tab icon.
# The banner fills the page's picture frame (212 x 70 dialog units, about
# 370 x 122 pixels in 宋体 9) less the helper's 2-pixel inset.
$C -size 366x118 gradient:'#1d4f91-#5fa8e8' \
   -fill '#ffffff30' -draw 'circle 330,20 400,60' -draw 'circle 300,120 360,190' \
   -fill white -font DejaVu-Sans-Bold -pointsize 30 -gravity west -annotate +24-14 'Zed Support' \
   -font DejaVu-Sans -pointsize 14 -annotate +26+24 'drivers · manuals · answers' \
   -colors 256 -type palette -compress none BMP3:support_banner.bmp
$C -size 96x28 xc:'#f0f0f0' -fill '#1d4f91' -draw 'roundrectangle 1,1 94,26 6,6' -fill white \
   -font DejaVu-Sans-Bold -pointsize 13 -gravity center -annotate +0+0 'www' \
   -type truecolor BMP3:open_button.bmp
$C -size 16x16 xc:none -fill '#1d4f91' -draw 'circle 8,8 8,1' -fill white \
   -draw 'rectangle 7,4 9,5' -draw 'rectangle 7,7 9,12' tab.ico
