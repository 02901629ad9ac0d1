#!/usr/bin/env bash
# Whole-process times of the tool's orders, as the median of N runs in
# milliseconds: `--help`, `estado` and `simular` on a game of 255 companies
# with period 0 run, in a folder on RAM (/dev/shm) and on the disk (/var/tmp).
# Each `simular` starts from the same files, put back between runs.
#   tools/medir_orden.sh CORVELIAN-CLI [N]
set -eu
cli=$(realpath "$1") veces=${2:-21}
trabajo=$(mktemp -d)
trap 'rm -rf "$trabajo" /dev/shm/corvelian-orden-$$ /var/tmp/corvelian-orden-$$' EXIT
for i in $(seq 255); do echo "Empresa $i"; done >"$trabajo/equipos.txt"
sed 's/^limiteGiroDescubierto.*/limiteGiroDescubierto = 1000000/' "$(dirname "$0")/../ejemplos/parametros.ini" >"$trabajo/parametros.ini"
{
    echo "precio,nivelProduccion,capacitacion,marketing,invYDes,invPlanta,pedPrestamoA,pedPrestamoB,devPrestamoA,devPrestamoB"
    for i in $(seq 255); do echo "$((60 + i % 40)),75,2000,$((10 * i)),1000,0,0,0,0,0"; done
} >"$trabajo/decisiones.csv"

mediana() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
medir() {  # medir VECES antes orden...: milliseconds of each run of orden, antes run untimed first
    local n=$1 antes=$2; shift 2
    for _ in $(seq "$n"); do
        eval "$antes"
        local inicio fin
        inicio=$(date +%s%N)
        "$@" >/dev/null
        fin=$(date +%s%N)
        echo $(((fin - inicio) / 1000))
    done | mediana | awk '{printf "%.2f ms\n", $1 / 1000}'
}

echo "--help: $(medir "$veces" : "$cli" --help)"
for raiz in /dev/shm /var/tmp; do
    [ -d "$raiz" ] || continue
    juego="$raiz/corvelian-orden-$$"
    "$cli" --datos "$juego" nuevo "$trabajo/equipos.txt" "$trabajo/parametros.ini" >/dev/null
    "$cli" --datos "$juego" periodo0 90 8000 1000 4000 75 0 80000 70000 >/dev/null
    "$cli" --datos "$juego" decisiones "$trabajo/decisiones.csv" >/dev/null
    rm -rf "$trabajo/copia" && cp -a "$juego" "$trabajo/copia"
    echo "estado ($raiz): $(medir "$veces" : "$cli" --datos "$juego" estado)"
    echo "simular ($raiz): $(medir "$veces" "rm -rf '$juego' && cp -a '$trabajo/copia' '$juego' && sync" "$cli" --datos "$juego" simular)"
    rm -rf "$juego"
done
