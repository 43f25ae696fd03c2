#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang-14 (AddressSanitizer and UndefinedBehaviorSanitizer
# on) in build-fuzz, then runs each for SECONDS_PER_TARGET seconds (default 10), one after the other.
# Seeds: fuzz/seeds/TARGET and, when present, the real projects in ../shared/corpus (read in place).
# What a run learns stays in build-fuzz/corpus/TARGET, so the next run starts from there; an input that
# breaks a property is left in build-fuzz/findings/TARGET/ and the script fails.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
jobs=${JOBS:-2}
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD} CCACHE_NOHASHDIR=1
launcher=(); command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
  "${launcher[@]}" -DVEXTOOLS_FUZZ=ON -DVEXTOOLS_BUILD_TESTS=OFF -DVEXTOOLS_BUILD_BENCH=OFF \
  -DVEXTOOLS_BUILD_APP=OFF >/dev/null
cmake --build build-fuzz -j "$jobs" --target fuzz_all

corpus=${CORPUS:-../shared/corpus}
[ -d "$corpus" ] || echo "fuzz.sh: no corpus at $corpus (set CORPUS=DIR to use another): seeds from fuzz/seeds only"

# The corpus files a target starts from, linked (never copied) into build-fuzz/seeds/TARGET.
seed() {  # seed TARGET EXTENSION...
  local dir=build-fuzz/seeds/$1; shift
  rm -rf "$dir"; mkdir -p "$dir"
  [ -d "$corpus" ] || return 0
  local ext n=0
  for ext in "$@"; do
    while IFS= read -r -d '' f; do
      ln -s "$(realpath "$f")" "$dir/$((n++))-$(basename "$f")"
    done < <(find "$corpus" -type f -iname "*.$ext" -size -64k -print0)
  done
}
modules=(bas cls frm ctl pag dob dsr)
seed project_reader_fuzz vbp vbg
seed module_roundtrip_fuzz "${modules[@]}"
seed lexer_fuzz "${modules[@]}"
seed engine_passes_fuzz bas cls
seed code_module_fuzz

# The hand-written module every target that reads a module starts from.
module_seeds() {
  case $1 in module_roundtrip_fuzz|lexer_fuzz|engine_passes_fuzz) echo fuzz/seeds/modules ;; esac
}

failed=()
for target in project_reader_fuzz module_roundtrip_fuzz lexer_fuzz code_module_fuzz engine_passes_fuzz; do
  mkdir -p "build-fuzz/corpus/$target" "build-fuzz/findings/$target" "fuzz/seeds/$target"
  echo "== $target: $([ -n "${FUZZ_RUNS:-}" ] && echo "$FUZZ_RUNS inputs" || echo "${seconds}s")"
  # -timeout: an input that runs for seconds is a hang; -max_len keeps whole modules but not giant ones.
  # FUZZ_SEED fixes libFuzzer's random seed, so that a smoke run walks the same inputs every time.
  # FUZZ_RUNS, with FUZZ_SEED, runs a fixed number of inputs instead: the same inputs on every machine.
  if ! "build-fuzz/fuzz/$target" ${FUZZ_SEED:+-seed="$FUZZ_SEED"} \
       $([ -n "${FUZZ_RUNS:-}" ] && echo "-runs=$FUZZ_RUNS" || echo "-max_total_time=$seconds") -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
       -print_final_stats=1 -artifact_prefix="build-fuzz/findings/$target/" \
       "build-fuzz/corpus/$target" "fuzz/seeds/$target" "build-fuzz/seeds/$target" $(module_seeds "$target") \
       > "build-fuzz/$target.log" 2>&1; then
    failed+=("$target")
    tail -n 40 "build-fuzz/$target.log"
  fi
  grep -E '^stat::number_of_executed_units|^stat::new_units_added' "build-fuzz/$target.log" | tr '\n' ' '; echo
done
if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz.sh: findings in ${failed[*]} (inputs in build-fuzz/findings/)"
  exit 1
fi
echo "fuzz.sh: no findings"
