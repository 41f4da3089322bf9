#!/usr/bin/env bash
# Builds the fuzz targets with clang (AddressSanitizer, UndefinedBehaviorSanitizer
# and libFuzzer) in build-fuzz and runs one of them, or each in turn.
#   bash fuzz/run.sh <target|all> [seconds] [runs]
# target is one of: message wire tokenstore tokenstring registry innerreply
# operations.
# seconds (default 60) bounds each run; runs (default: no limit) ends it after
# that many inputs. A run fails on any crash, sanitizer report, leak, time-out
# (10 s per input) or memory blow-up (2 GB).
# New inputs are kept in fuzz/corpus-run/<target>/ (ignored by git) and used
# again by the next run; the seeds in fuzz/corpus/<target>/ stay as they are.
# An input that failed is kept as fuzz/corpus-run/crashes/<target>-*.
set -euo pipefail
targets_all="message wire tokenstore tokenstring registry innerreply operations"
target="${1:?usage: fuzz/run.sh <target|all> [seconds] [runs]}"
seconds="${2:-60}"
runs="${3:--1}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz"
work="$root/fuzz/corpus-run"

if [ "$target" = all ]; then
  targets="$targets_all"
else
  case " $targets_all " in
    *" $target "*) targets="$target" ;;
    *) echo "unknown fuzz target '$target' (one of: $targets_all, all)" >&2; exit 2 ;;
  esac
fi

CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVSDK_FUZZ=ON -DVSDK_TESTS=OFF -DVSDK_SANITIZE=address,undefined >/dev/null
cmake --build "$build" --target fuzzers -j "${VSDK_FUZZ_BUILD_JOBS:-4}"

for t in $targets; do
  mkdir -p "$work/$t" "$work/crashes"
  # The readers of message documents share the XML dictionary.
  case "$t" in
    innerreply | tokenstore) dict=(-dict="$root/fuzz/message.dict") ;;
    *) dict=(-dict="$root/fuzz/$t.dict") ;;
  esac
  echo "== fuzzing $t for at most $seconds s"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$build/fuzz/${t}_fuzz" -max_total_time="$seconds" -runs="$runs" -max_len=65536 \
    -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "${dict[@]}" \
    -artifact_prefix="$work/crashes/$t-" "$work/$t" "$root/fuzz/corpus/$t"
  echo "$t: no failure in ${seconds} s"
done
