#!/usr/bin/env bash
# Makes the Windows release archive: vextools.exe (its C and C++ runtimes linked in, so nothing else needs
# installing), the licence texts of what it links, and a short README.
#   scripts/package-windows.sh [BUILD_DIR] [OUTPUT_DIR]   (defaults: build-win, dist)
# Uses BUILD_DIR/vextools.exe when scripts/test-windows.sh built it, else builds it there.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-win}
out=${2:-dist}
triple=x86_64-w64-mingw32

if [ ! -f "$build/vextools.exe" ]; then
  ./scripts/install-deps.sh
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DVEXTOOLS_BUILD_TESTS=OFF -DVEXTOOLS_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
  cmake --build "$build" -j "$(nproc)" --target vextools
fi

# Only system DLLs may be imported: anything else would have to be installed beside the program.
imports=$("$triple-objdump" -p "$build/vextools.exe" | sed -n 's/^\s*DLL Name: //p' | tr '[:upper:]' '[:lower:]')
for dll in $imports; do
  case "$dll" in
    kernel32.dll|advapi32.dll|shell32.dll|msvcrt.dll|user32.dll|ntdll.dll) ;;
    *) echo "package-windows: vextools.exe needs $dll, which Windows does not ship" >&2; exit 1 ;;
  esac
done

version=$(sed -n 's/^project(VexTools VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=vextools-$version-windows-x64
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/$name/licences"
"$triple-strip" -o "$stage/$name/vextools.exe" "$build/vextools.exe"

# Licence texts of what the program carries: the libraries built in and the compiler's runtime.
licence() { cp "/usr/share/doc/$2/copyright" "$stage/$name/licences/$1.txt"; }
licence fmt libfmt-dev
licence CLI11 libcli11-dev
licence SimpleIni libsimpleini-dev
licence gcc-runtime gcc-mingw-w64-base            # libstdc++ and libgcc (GCC runtime library exception)
licence mingw-w64-runtime mingw-w64-x86-64-dev     # the C runtime start-up code and winpthreads

# Text files with CRLF line ends, for Notepad.
crlf() { sed 's/$/\r/' >"$1"; }
crlf "$stage/$name/README.txt" <<TEXT
VexTools $version for Windows (64-bit)

vextools.exe is the VexTools command line for Visual Basic 6 projects. It needs no installation: put it
in a folder on your PATH (or run it where it is) from a command prompt or PowerShell.

  vextools.exe --help
  vextools.exe number --dry-run C:\\Projects\\MyApp\\MyApp.vbp    (shows the changes as a diff)
  vextools.exe number C:\\Projects\\MyApp\\MyApp.vbp              (numbers the lines)
  vextools.exe unnumber C:\\Projects\\MyApp\\MyApp.vbp
  vextools.exe options list

Options live where the VB6 add-in keeps them, in the registry:
  HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Compléments ORVEL\\VexTools
so the templates set in the IDE are the ones the command line uses, and the reverse. An INI file is used
instead when given with --settings FILE or the VEXTOOLS_SETTINGS variable.
The error log List_Err.log and the default backup folder are in %APPDATA%\\VexTools (or %VEXTOOLS_HOME%).

Redirected output (vextools.exe number --dry-run X.vbp > changes.diff) holds the exact bytes of the
diff; on a console, text is shown in the console's code page.

The folder "licences" holds the licences of the libraries built into vextools.exe.
TEXT

mkdir -p "$out"
rm -f "$out/$name.zip"
(cd "$stage" && zip -q -X -r - "$name") >"$out/$name.zip"
echo "made $out/$name.zip"
