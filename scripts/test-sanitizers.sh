#!/usr/bin/env bash
# Builds the core, add-in and command-line tests under AddressSanitizer and UndefinedBehaviorSanitizer
# in build-asan and runs them: a memory error, a leak or undefined behaviour fails the test it happens
# in. The desktop host and its Qt tests are left out (Qt under the sanitizers is slow and not our code).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-2}
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD} CCACHE_NOHASHDIR=1
launcher=(); command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" -DVEXTOOLS_SANITIZE=ON \
  -DVEXTOOLS_BUILD_APP=OFF -DVEXTOOLS_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir build-asan --output-on-failure -j "$jobs"
