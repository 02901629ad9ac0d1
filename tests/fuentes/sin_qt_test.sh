#!/usr/bin/env bash
# The tool's core orders start without Qt: every order but pdf, graficos and
# portal runs with no Qt library loaded, as the dynamic loader reports it,
# and only a workbook's export loads the spreadsheet library.
# graficos is run too, to show that a loaded Qt library would be seen.
#
#   sin_qt_test.sh CORVELIAN_CLI EJEMPLOS
set -uo pipefail
cli="$1"; ejemplos="$2"
tmp="$(mktemp -d)"; trap 'rm -rf "$tmp"' EXIT
juego="$tmp/juego"; mkdir -p "$juego"
fallas=0

# bibliotecas ORDEN...: the libraries the loader opened for the order, one per line.
bibliotecas() {
    LD_DEBUG=files LD_DEBUG_OUTPUT="$tmp/ld" "$cli" "$@" >"$tmp/salida" 2>&1
    local codigo=$?
    cat "$tmp"/ld.* 2>/dev/null | sed -n 's/.*file=\([^ ]*\) \[0\];  needed by.*/\1/p' | sort -u
    rm -f "$tmp"/ld.*
    return $codigo
}

while IFS='|' read -r nombre argumentos; do
    eval "orden=($argumentos)"
    cargadas="$(bibliotecas --datos "$juego" "${orden[@]}")" || { echo "FALLA: $nombre no corrió:"; cat "$tmp/salida"; fallas=$((fallas + 1)); continue; }
    if grep -q '^libQt' <<<"$cargadas"; then
        echo "FALLA: $nombre cargó Qt: $(grep '^libQt' <<<"$cargadas" | tr '\n' ' ')"
        fallas=$((fallas + 1))
    fi
    # The spreadsheet library (with zlib and OpenSSL) only for a workbook.
    if [ "$nombre" != "exportar xlsx" ] && grep -q '^libxlsxwriter' <<<"$cargadas"; then
        echo "FALLA: $nombre cargó libxlsxwriter"
        fallas=$((fallas + 1))
    fi
done <<ORDENES
ayuda|--help
nuevo|nuevo "$ejemplos/equipos.txt" "$ejemplos/parametros.ini"
periodo0|periodo0 100 5000 5000 4000 75 0 0 0
decisiones|decisiones "$ejemplos/decisiones.csv"
simular|simular
volver|volver
estado|estado
exportar csv|exportar "$tmp/temporada.csv"
exportar xlsx|exportar "$tmp/temporada.xlsx"
codigos|codigos
envios|envios
demo|demo "$tmp/demo"
practica|practica "$tmp/practica" --computadora 2
ORDENES

# The check sees Qt where it is: graficos draws with it (in its companion).
cargadas="$(QT_QPA_PLATFORM=offscreen bibliotecas --datos "$tmp/demo" graficos "$tmp/graficos")" ||
    { echo "FALLA: graficos no corrió:"; cat "$tmp/salida"; fallas=$((fallas + 1)); }
grep -q '^libQt6Gui' <<<"$cargadas" || { echo "FALLA: no se vio Qt en graficos"; fallas=$((fallas + 1)); }

[ "$fallas" -eq 0 ] || exit 1
echo "Las órdenes del núcleo no cargan Qt."
