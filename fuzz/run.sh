#!/usr/bin/env bash
# Builds the message fuzzer with clang (AddressSanitizer, UndefinedBehaviorSanitizer
# and libFuzzer) in build-fuzz and runs it for a bounded time.
#   bash fuzz/run.sh [seconds]      (default 60)
# Fails on any crash, sanitizer report, time-out or memory blow-up; the input
# that caused it is left in build-fuzz/fuzz-work/.
set -euo pipefail
seconds="${1:-60}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz"
work="$build/fuzz-work"

CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVSDK_FUZZ=ON -DVSDK_TESTS=OFF -DVSDK_SANITIZE=address,undefined
cmake --build "$build" --target message_fuzz

# New inputs go to the work folder; the seeds in the repository stay as they are.
mkdir -p "$work/corpus"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$build/fuzz/message_fuzz" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 -dict="$root/fuzz/message.dict" \
  -artifact_prefix="$work/" \
  "$work/corpus" "$root/fuzz/corpus"
echo "message_fuzz: no crash in ${seconds} s"
