#!/bin/sh
# Builds the libFuzzer target of the case document reader with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs it from a seed corpus of case documents.
#
#   scripts/fuzz-reader.sh [SECONDS] [JOBS]
#
# SECONDS defaults to 600. Findings are written to build-fuzz/findings/; turn each into a
# regression test under tests/casefile/ (the file's bytes inline) before fixing it.
# Needs clang and its fuzzer runtime (Debian: apt-get install clang libclang-rt-14-dev, or the
# runtime matching your clang).
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-600}
jobs=${2:-1}
out=build-fuzz
mkdir -p "$out/corpus" "$out/findings"

sources="$(ls src/model/*.cpp src/reasoning/*.cpp src/casefile/*.cpp src/diagram/*.cpp)"
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -Isrc $sources tests/fuzz/CaseReaderFuzzer.cpp -o "$out/case-reader-fuzzer"

# Seeds: the example cases, the documents the tests read, and the seeds kept with the fuzzer.
for file in examples/*/"KAVO case.htm" tests/data/casefile/*.htm tests/fuzz/seeds/*; do
    [ -f "$file" ] && cp "$file" "$out/corpus/seed-$(echo "$file" | tr '/ ' '__')"
done

"$out/case-reader-fuzzer" "$out/corpus" -max_total_time="$seconds" -jobs="$jobs" \
    -workers="$jobs" -max_len=200000 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$out/findings/" -print_final_stats=1
