#!/usr/bin/env bash
# Makes the 256 px PNG icon from the scalable one (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/icons"
rsvg-convert --width 256 --height 256 org.orvalis.Orvalis.svg --output org.orvalis.Orvalis-256.png
