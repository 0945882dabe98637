#!/bin/sh
# validate.sh desktop|metainfo VALIDATOR FILE: checks a desktop entry or AppStream metainfo file;
# exits with 77 (skipped) when the validator is not installed.
kind=$1 validator=$2 file=$3
if [ -z "$validator" ] || [ ! -x "$validator" ]; then
    echo "no validator for the $kind file: skipped"
    exit 77
fi
case $kind in
    desktop) exec "$validator" "$file" ;;
    metainfo) exec "$validator" validate --no-net "$file" ;;
esac
echo "validate.sh: unknown kind $kind" >&2
exit 2
