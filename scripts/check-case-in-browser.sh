#!/bin/sh
# Checks that a case document or an analysis report shows fully in a web browser: every image it
# refers to exists in its gif folder, and headless Chromium renders the document into a screenshot
# to look at.
#
#   scripts/check-case-in-browser.sh FOLDER|DOCUMENT [SCREENSHOT.png] [WIDTHxHEIGHT]
#
# FOLDER holds "KAVO case.htm"; a DOCUMENT (such as FOLDER/Analysis.htm) is taken as it is.
# SCREENSHOT defaults to case-in-browser.png in the current folder, the window to 1000x3000 (a
# headless screenshot shows the window, not the whole page).
# Exit status: 0 all images present and the screenshot taken, 1 images missing or no screenshot,
# 2 bad arguments. Needs Chromium (Debian: apt-get install chromium).
set -eu
if [ $# -lt 1 ] || [ $# -gt 3 ]; then
    sed -n '5,12p' "$0" >&2
    exit 2
fi
if [ -f "$1" ]; then
    folder=$(cd "$(dirname "$1")" && pwd)
    document="$folder/$(basename "$1")"
else
    folder=$(cd "$1" && pwd)
    document="$folder/KAVO case.htm"
fi
out=${2:-case-in-browser.png}
size=${3:-1000x3000}
if [ ! -f "$document" ]; then
    echo "no case document in $folder" >&2
    exit 2
fi

missing=0
for name in $(grep -o 'src="gif/[^"]*"' "$document" | sed 's/^src="//; s/"$//' | sort -u); do
    if [ ! -f "$folder/$name" ]; then
        echo "missing: $name" >&2
        missing=$((missing + 1))
    fi
done

browser=$(command -v chromium || command -v chromium-browser || command -v google-chrome || true)
if [ -z "$browser" ]; then
    echo "no Chromium found" >&2
    exit 1
fi
case $out in
    /*) ;;
    *) out="$(pwd)/$out" ;;
esac
rm -f "$out"
# No sandbox (it fails as root and in containers), no GPU, no network: the document is local.
"$browser" --headless --no-sandbox --disable-gpu --disable-background-networking \
    --hide-scrollbars --window-size="$(echo "$size" | tr x ,)" --screenshot="$out" \
    "file://$(echo "$document" | sed 's/ /%20/g')" >/dev/null 2>&1 || true
if [ ! -s "$out" ]; then
    echo "Chromium wrote no screenshot" >&2
    exit 1
fi
echo "$out"
[ "$missing" -eq 0 ] || { echo "$missing images missing" >&2; exit 1; }
