#!/usr/bin/env python3
"""Counts code lines (not blank, not comment-only) per file and per function.

Usage: medir_codigo.py [--archivo N] [--funcion N] FILE...
Prints the files over N code lines and the functions over N code lines
(defaults 600 and 80) and exits 1 when there is any.
A function is a brace body whose opening follows a parameter list at
namespace or class level (lambdas count inside the function that holds them).
"""
import re
import sys


def limpiar(texto):
    """Blanks comments, strings and character literals, keeping line breaks."""
    salida = []
    i, n = 0, len(texto)
    while i < n:
        c = texto[i]
        if texto.startswith('//', i):
            j = texto.find('\n', i)
            j = n if j < 0 else j
            salida.append(' ' * (j - i))
            i = j
        elif texto.startswith('/*', i):
            j = texto.find('*/', i + 2)
            j = n if j < 0 else j + 2
            salida.append(re.sub(r'[^\n]', ' ', texto[i:j]))
            i = j
        elif c == 'R' and texto.startswith('R"', i) and (i == 0 or not (texto[i-1].isalnum() or texto[i-1] == '_')):
            m = re.match(r'R"([^(\s]*)\(', texto[i:])
            if m:
                fin = ')' + m.group(1) + '"'
                j = texto.find(fin, i + m.end())
                j = n if j < 0 else j + len(fin)
                salida.append('""' + re.sub(r'[^\n]', ' ', texto[i+2:j]))
                i = j
                continue
            salida.append(c)
            i += 1
        elif c in '"\'':
            if c == "'" and i > 0 and texto[i-1].isalnum() and texto[i+1:i+2].isdigit():
                salida.append(' ')  # digit separator 1'000
                i += 1
                continue
            j = i + 1
            while j < n and texto[j] != c:
                j += 2 if texto[j] == '\\' else 1
            salida.append(c + ' ' * (j - i - 1) + c)
            i = j + 1
        else:
            salida.append(c)
            i += 1
    return ''.join(salida)


def lineasDeCodigo(limpio):
    return {k for k, linea in enumerate(limpio.split('\n')) if linea.strip()}


CONTROL = re.compile(r'\b(if|for|while|switch|catch|do|else|try|return|namespace|class|struct|enum|union)\b')


def funciones(limpio):
    codigo = lineasDeCodigo(limpio)
    pila = []  # (kind, line, name)
    resultado = []
    inicio = 0
    linea = 0
    for i, c in enumerate(limpio):
        if c == '\n':
            linea += 1
        elif c == '{':
            previo = limpio[inicio:i]
            dentroDeFuncion = any(k == 'f' for k, _, _ in pila)
            tipo = 'o'
            nombre = ''
            cabeza = previo.strip()
            sinInit = re.sub(r'\)\s*:\s*[\s\S]*$', ')', cabeza) if not dentroDeFuncion else cabeza
            if not dentroDeFuncion and re.search(r'\)\s*(const|noexcept|override|final|mutable|->\s*[\w:<>,\s*&]+|\s)*$', sinInit) \
                    and not re.match(r'^\s*(if|for|while|switch|catch)\b', cabeza.split('\n')[-1].strip() or ' ') \
                    and '(' in cabeza and not re.search(r'=\s*$', cabeza):
                m = re.search(r'([~\w:]+(?:operator\s*\S+)?)\s*\([^()]*(?:\([^()]*\)[^()]*)*\)[^()]*$', sinInit)
                if m and not CONTROL.fullmatch(m.group(1).split('::')[-1]):
                    tipo, nombre = 'f', m.group(1)
            if re.search(r'\b(namespace|class|struct|union|enum)\b[^;()]*$', cabeza) and tipo != 'f':
                tipo = 'c'
            pila.append((tipo, linea, nombre))
            inicio = i + 1
        elif c == '}':
            if pila:
                tipo, desde, nombre = pila.pop()
                if tipo == 'f':
                    n = sum(1 for k in range(desde, linea + 1) if k in codigo)
                    resultado.append((nombre, desde + 1, n))
            inicio = i + 1
        elif c == ';':
            inicio = i + 1
    return resultado


def main(argv):
    limiteArchivo, limiteFuncion = 600, 80
    archivos = []
    k = 0
    while k < len(argv):
        if argv[k] == '--archivo':
            limiteArchivo = int(argv[k + 1]); k += 2
        elif argv[k] == '--funcion':
            limiteFuncion = int(argv[k + 1]); k += 2
        else:
            archivos.append(argv[k]); k += 1
    excesos = 0
    for ruta in archivos:
        if not re.search(r'\.(cpp|h|hpp|cc)$', ruta):
            continue
        with open(ruta, encoding='utf-8', errors='replace') as f:
            limpio = limpiar(f.read())
        n = len(lineasDeCodigo(limpio))
        if n > limiteArchivo:
            print(f'{ruta}: {n} líneas de código')
            excesos += 1
        for nombre, desde, largo in funciones(limpio):
            if largo > limiteFuncion:
                print(f'{ruta}:{desde}: {nombre}: {largo} líneas de código')
                excesos += 1
    return 1 if excesos else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
