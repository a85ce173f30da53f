#!/usr/bin/env bash
# Makes the Windows resources from the window's artwork (needs ImageMagick's convert): the logo as a
# 24-bit bitmap, the icon with its 16 x 16 and 32 x 32 images, and the pointing hand (hand.py).
# Commit the results with the artwork.
set -euo pipefail
cd "$(dirname "$0")"
art=../../resources
convert "$art/logo.png" BMP3:logo.bmp
convert "$art/icon16.png" "$art/icon32.png" tonvale.ico
python3 hand.py
