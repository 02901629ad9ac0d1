#!/usr/bin/env bash
# Builds the game and starts its window. The game files go next to the
# executable, in build/juego/.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
source "$raiz/scripts/dependencias.sh"
instalar_dependencias

cmake -S "$raiz" -B "$raiz/build/juego" -DCMAKE_BUILD_TYPE=Release -DCORVELIAN_BENCHMARKS=OFF >/dev/null
cmake --build "$raiz/build/juego" --parallel "$(nproc)" --target corvelian corvelian-cli
exec "$raiz/build/juego/corvelian" "$@"
