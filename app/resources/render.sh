#!/usr/bin/env bash
# Renders the artwork's SVG sources to the PNGs the window loads (needs rsvg-convert from librsvg2-bin).
# Run it after changing an SVG and commit the PNGs with it; the build itself only reads the PNGs.
set -euo pipefail
cd "$(dirname "$0")"
rsvg-convert -w 32 -h 32 icon.svg -o icon32.png
rsvg-convert -w 16 -h 16 icon.svg -o icon16.png
rsvg-convert -w 280 -h 36 logo.svg -o logo.png
# The program's icon in the desktop's icon theme (the Linux package installs icon.svg beside them).
rsvg-convert -w 48 -h 48 icon.svg -o icon48.png
rsvg-convert -w 128 -h 128 icon.svg -o icon128.png
