#!/bin/sh
# Builds the libFuzzer target of the case document reader with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs it from a seed corpus of case documents.
#
#   scripts/fuzz-reader.sh [SECONDS] [JOBS] [LIBFUZZER-FLAGS...]
#
# SECONDS defaults to 600, JOBS (processes, one core each) to 1; further flags go to libFuzzer
# after the script's own (-max_len=20000 fuzzes shorter inputs, faster). The fuzzer keeps going
# after a finding; each finding is written to build-fuzz/findings/ (crash-*, timeout-*, oom-*).
# Turn each into a regression test, minimise it (see docs/testing.md) and add it to
# tests/fuzz/seeds/.
# Needs clang and its fuzzer runtime (Debian 12: apt-get install clang-14 libclang-rt-14-dev);
# CXX chooses the compiler (default: clang++, else clang++-14).
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-600}
jobs=${2:-1}
[ $# -gt 0 ] && shift
[ $# -gt 0 ] && shift
out=build-fuzz
mkdir -p "$out/corpus" "$out/findings"
compiler=${CXX:-$(command -v clang++ || command -v clang++-14)}

# Built again only when a source changed since the last build.
fuzzer="$out/case-reader-fuzzer"
if [ ! -x "$fuzzer" ] || [ -n "$(find src tests/fuzz -newer "$fuzzer" \( -name '*.cpp' -o -name '*.h' \))" ]; then
    sources="$(ls src/model/*.cpp src/reasoning/*.cpp src/casefile/*.cpp src/diagram/*.cpp)"
    "$compiler" -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined \
        -fno-sanitize-recover=undefined -Isrc $sources tests/fuzz/CaseReaderFuzzer.cpp \
        -o "$fuzzer"
fi

# Seeds: the example cases, the documents the tests read, and the seeds kept with the fuzzer
# (damaged documents and the minimised findings of earlier runs).
for file in examples/*/"KAVO case.htm" tests/data/casefile/*.htm tests/fuzz/seeds/*; do
    [ -f "$file" ] && cp "$file" "$out/corpus/seed-$(echo "$file" | tr '/ ' '__')"
done

# Fork mode keeps fuzzing after a finding; its log files go into the build folder.
cd "$out"
./case-reader-fuzzer corpus -fork="$jobs" -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
    -max_total_time="$seconds" -max_len=200000 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix=findings/ "$@"
