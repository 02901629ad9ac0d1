#!/usr/bin/env python3
"""Writes the unit-cost sheets of src/engine/UTablaCostos.cpp.

The game's cost sheets are known at every fifth plant row (25000, 50000, ...,
300000); this script fills the four rows between each pair and prints the
C++ initialiser of the 56 x 11 sheets. All arithmetic is in whole thousandths
of u$d, so every cell keeps three decimals and nothing depends on binary
floating point.

The fill rule (also stated beside the table in UTablaCostos.cpp):
  * 50 %, 75 % and 100 % sheets: each column is a straight line between its two
    nearest listed rows, rounded to the nearest thousandth (the fifths that
    arise never tie).
  * Exception kept inside that rule: in the columns of training 4000 and above
    the listed rows step down between 250000 and 275000. The step is placed
    right after 250000: rows 255000 to 270000 lie on the line of the
    275000-300000 segment carried back.
  * 25 % sheet: its unlisted rows are the 50 % rows plus the column amount
    (15.052 ... 14.637), i.e. the same lines raised by that amount. Its listed
    rows are kept as they are, including the four cells that stray from the
    amounts and the 65.570 out of order at plant 150000.

Usage: python3 tools/generar_tabla_costos.py > /tmp/hojas.inc
"""

import sys

LISTADAS = {
    25: [
        "124.422 115.081 108.156 103.081 99.215 96.405 94.323 92.768 91.517 90.550 89.698",  # 25000
        "101.860 95.564 90.904 87.450 84.887 82.998 81.599 80.548 79.672 78.982 78.420",  # 50000
        "90.044 85.239 81.686 79.051 77.095 75.656 74.589 73.786 73.094 72.539 72.078",  # 75000
        "83.318 79.363 76.430 74.255 72.640 71.453 70.574 69.910 69.320 68.842 67.676",  # 100000
        "77.564 75.313 72.789 70.916 69.524 68.503 67.747 67.174 66.651 66.222 65.799",  # 125000
        "74.307 72.252 70.019 68.358 67.126 66.223 65.554 65.046 65.570 64.177 63.807",  # 150000
        "71.749 69.835 67.817 66.238 65.205 64.391 63.787 63.327 62.887 62.521 62.168",  # 175000
        "69.831 67.850 66.018 64.565 63.623 62.877 62.323 61.901 61.489 61.143 60.813",  # 200000
        "67.920 66.231 64.515 63.165 62.294 61.601 61.088 60.695 60.306 59.976 59.661",  # 225000
        "66.309 64.847 63.240 62.045 61.158 60.510 60.030 59.661 59.290 58.975 58.662",  # 250000
        "65.046 63.760 60.000 58.956 58.180 57.614 57.196 56.872 56.535 56.243 55.963",  # 275000
        "64.364 63.213 57.750 56.809 56.108 55.600 55.222 54.931 54.616 54.341 54.090",  # 300000
    ],
    50: [
        "109.368 100.042 93.130 88.008 84.215 81.405 79.323 77.781 76.638 75.792 75.061",  # 25000
        "86.808 80.525 75.878 72.437 69.887 67.998 66.599 65.561 64.793 64.224 63.783",  # 50000
        "74.992 70.200 66.660 64.038 62.095 60.656 59.589 58.799 58.215 57.781 57.441",  # 75000
        "68.266 64.324 61.404 59.242 57.640 56.453 55.574 54.923 54.441 54.084 53.039",  # 100000
        "62.512 60.274 57.763 55.903 54.524 53.503 52.747 52.187 51.772 51.464 51.162",  # 125000
        "59.255 57.213 54.993 53.345 52.126 51.223 50.554 50.059 49.691 49.419 49.170",  # 150000
        "56.697 54.796 52.791 51.225 50.205 49.391 48.787 48.340 48.008 47.763 47.531",  # 175000
        "54.779 52.829 50.992 49.552 48.623 47.877 47.323 46.914 46.610 46.385 46.176",  # 200000
        "52.868 51.192 49.489 48.152 47.294 46.601 46.088 45.708 45.427 45.218 45.024",  # 225000
        "51.257 49.808 48.214 47.032 46.158 45.510 45.030 44.674 44.411 44.217 44.025",  # 250000
        "49.994 48.721 44.974 43.943 43.180 42.614 42.196 41.885 41.656 41.485 41.326",  # 275000
        "49.312 48.174 42.724 41.796 41.108 40.600 40.222 39.944 39.737 39.583 39.453",  # 300000
    ],
    75: [
        "91.140 83.368 77.608 73.340 70.179 67.837 66.102 64.817 63.865 63.160 62.551",  # 25000
        "71.742 66.550 62.709 59.865 57.758 56.196 55.040 54.183 53.548 53.078 52.713",  # 50000
        "61.450 57.541 54.639 52.490 50.897 49.718 48.843 48.196 47.717 47.361 47.083",  # 75000
        "55.501 52.296 49.922 48.164 46.862 45.897 45.182 44.653 44.261 43.970 43.121",  # 100000
        "50.413 48.609 46.583 45.083 43.971 43.147 42.520 42.086 41.751 41.503 41.259",  # 125000
        "47.404 45.750 43.994 42.676 41.701 40.978 40.443 40.047 39.753 39.535 39.336",  # 150000
        "44.998 43.489 41.898 40.719 39.845 39.199 38.720 38.365 38.101 37.907 37.723",  # 175000
        "43.133 41.598 40.151 39.079 38.286 37.698 37.262 36.940 36.701 36.523 36.359",  # 200000
        "41.303 39.994 38.663 37.678 36.948 36.407 36.006 35.709 35.490 35.326 35.175",  # 225000
        "39.734 38.611 37.375 36.459 35.781 35.279 34.907 34.631 34.427 34.276 34.128",  # 250000
        "38.457 37.478 34.595 33.802 33.215 32.780 32.458 32.219 32.043 31.911 31.789",  # 275000
        "37.643 36.773 32.614 31.905 31.380 30.992 30.704 30.491 30.333 30.216 30.116",  # 300000
    ],
    100: [
        "97.520 89.204 83.041 78.474 75.092 72.586 70.729 69.355 68.335 67.590 66.930",  # 25000
        "77.841 71.874 67.726 64.654 62.379 60.692 59.444 58.518 57.832 57.324 56.930",  # 50000
        "67.001 62.720 59.557 57.214 55.478 54.193 53.235 52.534 52.012 51.623 51.320",  # 75000
        "61.051 57.526 54.914 52.980 51.549 50.487 49.701 49.119 48.687 48.367 47.433",  # 100000
        "55.958 53.956 51.707 50.042 48.808 47.894 47.218 46.716 46.344 46.068 45.797",  # 125000
        "53.092 51.262 49.273 47.797 46.706 45.896 45.297 44.853 44.523 44.277 44.056",  # 150000
        "50.848 49.143 47.345 46.012 45.025 44.205 43.754 43.353 43.054 42.835 42.627",  # 175000
        "49.172 47.422 45.772 44.550 43.646 42.976 42.479 42.112 41.839 41.636 41.449",  # 200000
        "47.581 46.073 44.540 43.405 42.712 42.087 41.479 41.137 40.884 40.696 40.522",  # 225000
        "46.171 44.866 43.430 42.365 41.578 40.994 40.562 40.241 40.004 39.829 39.657",  # 250000
        "45.072 43.924 40.545 39.616 38.928 38.418 38.041 37.761 37.554 37.400 37.257",  # 275000
        "44.494 43.466 38.550 37.712 37.091 36.633 36.292 36.041 35.854 35.715 35.598",  # 300000
    ],
}

NIVELES = (25, 50, 75, 100)
FILAS, COLUMNAS = 56, 11
# How far the 25 % sheet lies above the 50 % sheet, per training column.
SOBRE_50 = (15052, 15039, 15026, 15013, 15000, 15000, 15000, 14987, 14879, 14758, 14637)
# Listed rows sit every fifth row; the step of the training columns >= 4000
# lies between listed rows 9 (250000) and 10 (275000).
PASO, TRAMO_ESCALON, PRIMERA_COLUMNA_ESCALON = 5, 9, 2
# The one listed cell out of order (25 %, plant 150000, training 16000): it
# stands above its left neighbour and, once the rows around it are filled,
# above the cell over it too.
FUERA_DE_ORDEN = (25, 25, 8)


def milesimas(texto):
    entero, decimales = texto.split(".")
    return int(entero) * 1000 + int(decimales.ljust(3, "0"))


def redondear_quintos(quintos):
    # quintos / 5 rounded to the nearest whole; a fifth never ties.
    return (quintos * 2 + 5) // 10


def llenar(listadas):
    hoja = [[0] * COLUMNAS for _ in range(FILAS)]
    for k in range(COLUMNAS):
        columna = [fila[k] for fila in listadas]
        for i, valor in enumerate(columna):
            hoja[i * PASO][k] = valor
        for i in range(len(columna) - 1):
            a, b = columna[i], columna[i + 1]
            for j in range(1, PASO):
                if i == TRAMO_ESCALON and k >= PRIMERA_COLUMNA_ESCALON:
                    c = columna[i + 2]
                    quintos = b * PASO + (b - c) * (PASO - j)
                else:
                    quintos = a * PASO + (b - a) * j
                hoja[i * PASO + j][k] = redondear_quintos(quintos)
    return hoja


def hojas():
    listadas = {n: [[milesimas(x) for x in fila.split()] for fila in LISTADAS[n]] for n in NIVELES}
    resultado = {n: llenar(listadas[n]) for n in (50, 75, 100)}
    h25 = [[resultado[50][r][k] + SOBRE_50[k] for k in range(COLUMNAS)] for r in range(FILAS)]
    for i, fila in enumerate(listadas[25]):
        h25[i * PASO] = list(fila)
    resultado[25] = h25
    return resultado


def verificar(h):
    todas = [v for n in NIVELES for fila in h[n] for v in fila]
    assert min(todas) == 30116 and max(todas) == 124422
    for n in NIVELES:
        for r in range(FILAS):
            for k in range(COLUMNAS - 1):
                if h[n][r][k + 1] >= h[n][r][k]:
                    assert (n, r, k + 1) == FUERA_DE_ORDEN, (n, r, k)
            for k in range(COLUMNAS):
                if r > 0 and h[n][r][k] >= h[n][r - 1][k]:
                    assert (n, r, k) == FUERA_DE_ORDEN, (n, r, k)
                assert h[25][r][k] > h[50][r][k] > h[100][r][k] > h[75][r][k]
    fuera = sum(1 for r in range(FILAS) for k in range(COLUMNAS) if h[25][r][k] - h[50][r][k] != SOBRE_50[k])
    assert fuera <= 10, fuera


def main():
    h = hojas()
    verificar(h)
    out = sys.stdout
    for n in NIVELES:
        out.write("    {  // %d %%\n" % n)
        for r, fila in enumerate(h[n]):
            celdas = ", ".join("%d.%03d" % divmod(v, 1000) for v in fila)
            out.write("        {%s},  // %d\n" % (celdas, 25000 + r * 5000))
        out.write("    },\n")


if __name__ == "__main__":
    main()
