#!/usr/bin/env bash
# Runs every fuzz target for a fixed time: first on its saved regressions,
# then fuzzing from a temporary copy of its seed corpus, so the committed
# corpus never changes. Fails when a target reports a finding.
# Usage: fuzz/run.sh BUILD_DIR SECONDS [TARGET...]; KEEP_CORPUS=dir keeps the
# grown corpora, the findings and the logs there.
set -uo pipefail
build=$(realpath "$1") seconds=$2
cd "$(dirname "$0")"
shift 2
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(FormulaFuzzer FormulaGrammarFuzzer NumberTextFuzzer IniFuzzer ExampleCaptionFuzzer RendererOptionsFuzzer)

# The settings target writes a file per input: tmpfs keeps its syncs cheap.
[ -w /dev/shm ] && export TMPDIR=/dev/shm
# AddressSanitizer keeps every distinct allocation stack; the parser's deep
# recursion makes them countless, so only their innermost frames are kept.
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=8}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
for target in "${targets[@]}"; do
  binary=$build/fuzz/$target
  corpus=${KEEP_CORPUS:-$work}/$target logs=${KEEP_CORPUS:-$work}
  mkdir -p "$corpus" "${KEEP_CORPUS:-$work}/artifacts-$target"
  cp -n corpus/$target/* "$corpus"/
  echo "== $target: $seconds s"
  if compgen -G "regressions/$target/*" >/dev/null; then
    if ! "$binary" regressions/$target/* >"$work/$target-regressions.log" 2>&1; then
      grep -A3 "FUZZ FINDING\|ERROR: \|runtime error" "$work/$target-regressions.log" | head -20
      echo "!! $target fails on a saved regression"
      failed=1
      continue
    fi
  fi
  if ! "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -dict=dict/$target.dict -artifact_prefix="${KEEP_CORPUS:-$work}/artifacts-$target/" "$corpus" \
      >"$logs/$target.log" 2>&1; then
    grep -A3 "FUZZ FINDING\|ERROR: \|runtime error" "$logs/$target.log" | head -20
    for artifact in $(find "${KEEP_CORPUS:-$work}/artifacts-$target" -type f); do
      echo "!! $target: the input is in $(basename "$artifact"), bytes: $(head -c 200 "$artifact" | od -An -c | head -3 | tr -s ' ')"
    done
    failed=1
    continue
  fi
  grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$logs/$target.log"
  echo "   corpus: $(ls "$corpus" | wc -l) inputs"
done
exit $failed
