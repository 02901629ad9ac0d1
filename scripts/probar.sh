#!/usr/bin/env bash
# Builds and runs every test three times: a normal build that must compile
# without a warning, a build under AddressSanitizer and UndefinedBehaviorSanitizer,
# and the core cross-built for Windows, run under Wine.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
source "$raiz/scripts/dependencias.sh"
# Test only: the document tests read the PDFs back with pdftotext and pdfinfo,
# and the export tests unpack the .xlsx they write.
paquetes_necesarios+=(poppler-utils unzip)
# Test only: the Debian package is built with cpack and checked with Debian's tools.
paquetes_necesarios+=(dpkg-dev file lintian desktop-file-utils appstream man-db)
# The portal's browser test drives Debian's Chromium through its WebDriver.
paquetes_necesarios+=(chromium chromium-driver python3-selenium)
# Test only: the core cross-built for Windows and run under Wine.
paquetes_necesarios+=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix wine wine64 googletest)
instalar_dependencias

nucleos="$(nproc)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export LSAN_OPTIONS="suppressions=$raiz/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

construir_y_probar() {
    local carpeta="$1"; shift
    echo "== $carpeta"
    cmake -S "$raiz" -B "$raiz/build/$carpeta" -DCMAKE_COMPILE_WARNING_AS_ERROR=ON "$@" >/dev/null
    cmake --build "$raiz/build/$carpeta" --parallel "$nucleos"
    ctest --test-dir "$raiz/build/$carpeta" --output-on-failure --parallel "$nucleos" --timeout 600
}

construir_y_probar normal -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVELIAN_PRUEBA_PAQUETE=ON
construir_y_probar sanitizadores -DCMAKE_BUILD_TYPE=Debug -DCORVELIAN_SANITIZADORES=ON -DCORVELIAN_BENCHMARKS=OFF
# The core, the tool and the core's tests for Windows, under one Wine prefix
# made once; the demo must write the same bytes as the native tool's.
export WINEPREFIX="$raiz/build/windows/wine" WINEDEBUG=-all
[ -f "$WINEPREFIX/system.reg" ] || { mkdir -p "$raiz/build/windows"; wineboot -i >/dev/null 2>&1; wineserver -w; }
# One Wine server for all the tests: a test that starts just as the server of
# the previous one exits is refused ("recvmsg: Connection reset by peer").
wineserver -p60 </dev/null >/dev/null 2>&1
# Without debug information: it builds a third faster, and Wine here has no debugger.
construir_y_probar windows -DCMAKE_TOOLCHAIN_FILE="$raiz/cmake/mingw-w64.cmake" -DCORVELIAN_VENTANA=OFF \
    -DCORVELIAN_BENCHMARKS=OFF -DCORVELIAN_CLI_NATIVO="$raiz/build/normal/corvelian-cli" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG"
echo "Todas las pruebas pasaron en las tres compilaciones."
