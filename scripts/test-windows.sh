#!/usr/bin/env bash
# Cross-compiles the core, vextools.exe and the unit tests for 64-bit Windows with mingw-w64, then runs
# them under Wine, headless:
#   - the whole unit test suite;
#   - `number --dry-run` on examples/sample prints the same diff as the Linux build;
#   - `number` then `unnumber` gives the sample back byte for byte;
#   - `options set` writes the registry key VB's SaveSetting uses, and a value written there by another
#     program (reg.exe) is what `options get` reads;
#   - the release archive of scripts/package-windows.sh holds a vextools.exe that runs.
#   scripts/test-windows.sh [BUILD_DIR]      (default build-win; the Linux build is taken from build/)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${1:-build-win}
mkdir -p "$build"
build=$(cd "$build" && pwd)

./scripts/install-deps.sh

jobs=$(nproc)
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root} CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
toolchain=$root/cmake/mingw-w64.cmake

# GoogleTest from Debian's sources, built once with the cross compiler.
gtest_prefix=$build/googletest-install
if [ ! -f "$gtest_prefix/lib/cmake/GTest/GTestConfig.cmake" ]; then
  echo "== building GoogleTest for Windows"
  cmake -S /usr/src/googletest -B "$build/googletest" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$gtest_prefix" "${launcher[@]}" >/dev/null
  cmake --build "$build/googletest" -j "$jobs" >/dev/null
  cmake --install "$build/googletest" >/dev/null
fi

echo "== building vextools.exe and the unit tests"
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DVEXTOOLS_BUILD_BENCH=OFF -DGTest_DIR="$gtest_prefix/lib/cmake/GTest" "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$jobs" --target vextools vextools_tests

# A Wine of our own under the build directory, without a display.
export WINEPREFIX=$build/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=C.UTF-8 LC_ALL=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64)
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "== creating the Wine prefix"
  "$wine" wineboot --init >/dev/null 2>&1
  "$wine"server --wait 2>/dev/null || wineserver --wait 2>/dev/null || true
fi
win() { "$wine" "$@"; }
vex() { win "$build/vextools.exe" "$@"; }

echo "== unit tests under Wine"
win "$build/tests/vextools_tests.exe" --gtest_brief=1

failed=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failed=1; fi
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VEXTOOLS_HOME="$work/addin"
unset VEXTOOLS_SETTINGS

echo "== vextools.exe against the Linux build"
if [ ! -x build/vextools ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
  cmake --build build -j "$jobs" --target vextools
fi
cp -r examples/sample "$work/linux" && cp -r examples/sample "$work/windows"
(cd "$work/linux" && "$root/build/vextools" --settings "$work/linux.ini" number --dry-run Sample.vbp >"$work/linux.diff" 2>/dev/null)
(cd "$work/windows" && vex --settings "$work/windows.ini" number --dry-run Sample.vbp >"$work/windows.diff" 2>/dev/null)
check "number --dry-run prints the Linux build's diff" cmp "$work/linux.diff" "$work/windows.diff"
check "the diff is not empty" test -s "$work/windows.diff"
# A Windows path with a drive letter and backslashes, as a user types it.
winpath=$(win winepath -w "$work/windows/Sample.vbp" 2>/dev/null | tr -d '\r')
vex --settings "$work/windows.ini" number "$winpath" >/dev/null 2>&1
check "number changes the sample" bash -c "! diff -rq examples/sample '$work/windows' >/dev/null"
vex --settings "$work/windows.ini" unnumber "$winpath" >/dev/null 2>&1
check "number then unnumber restores the sample byte for byte" diff -r examples/sample "$work/windows"

# Names outside ASCII on the command line, in both path styles.
mkdir -p "$work/Projets é" && cp -r examples/sample "$work/Projets é/sample"
check "a project in a folder named with an accent loads" \
  bash -c "'$wine' '$build/vextools.exe' --settings '$work/windows.ini' list '$work/Projets é/sample/Sample.vbp' | grep -q '^modUtil'"
accented=$(win winepath -w "$work/Projets é/sample/Sample.vbp" 2>/dev/null | tr -d '\r')
check "and by its Windows path" \
  bash -c "'$wine' '$build/vextools.exe' --settings '$work/windows.ini' number --check '$accented' 2>/dev/null; [ \$? -eq 1 ]"

vex --settings "$work/windows.ini" backup "$accented" --to "$(win winepath -w "$work/Copies é" 2>/dev/null | tr -d '\r')" \
  >/dev/null 2>&1 || true
check "backup --to a folder named with an accent copies there" cmp examples/sample/Sample.vbp "$work/Copies é/Sample.vbp"

echo "== options in the registry"
key='HKCU\Software\VB and VBA Program Settings\Compléments ORVEL\VexTools'
vex options set LineJump 7 >/dev/null
check "options set writes the registry value" \
  bash -c "'$wine' reg query '$key' /v LineJump 2>/dev/null | tr -d '\r' | grep -Eq 'LineJump +REG_SZ +7\$'"
win reg add "$key" /v ErrorCodeClose /t REG_SZ /d "Résumé written by reg.exe" /f >/dev/null 2>&1
check "options get reads a value another program wrote" \
  bash -c "[ \"\$(VEXTOOLS_HOME='$work/addin' '$wine' '$build/vextools.exe' options get ErrorCodeClose | tr -d '\r')\" = 'Résumé written by reg.exe' ]"
vex --settings "$work/file.ini" options set LineJump 9 >/dev/null
check "--settings FILE still keeps options in the file" grep -q 'LineJump=9' "$work/file.ini"
win reg delete 'HKCU\Software\VB and VBA Program Settings\Compléments ORVEL' /f >/dev/null 2>&1 || true

echo "== the release archive"
./scripts/package-windows.sh "$build" "$build/dist" >/dev/null
mkdir -p "$work/unzipped" && (cd "$work/unzipped" && unzip -q "$build"/dist/vextools-*-windows-x64.zip)
# A wineserver still shutting down after reg.exe can refuse the first start: wait for it.
"$(dirname "$wine")/wineserver" -w 2>/dev/null || true
check "the archived vextools.exe runs" bash -c "'$wine' '$work'/unzipped/*/vextools.exe --help >/dev/null 2>&1"

[ "$failed" -eq 0 ] || { echo "test-windows: some checks failed"; exit 1; }
echo "test-windows: all passed"
