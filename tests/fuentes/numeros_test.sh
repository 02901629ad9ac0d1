#!/usr/bin/env bash
# Our own files and messages must read and write numbers the same way on
# every desktop, so src/ formats and parses them with to_chars, from_chars
# and the helpers of src/store/Texto.h, never through the process locale.
# Only the report formatters (src/reports/) follow the desktop's decimal
# separator on purpose, and src/store/Texto.cpp reads the typed decimal with it.
#
#   numeros_test.sh FUENTES [CONSTRUCCION]
#
# Lists every source line that calls a printf- or scanf-family function,
# strto*/ato*/std::sto*, a string stream, imbue or std::locale. With the
# build folder it also looks in the compiled objects for the C library's
# locale-bound calls that the sources hide: std::to_string of a floating
# value is vsnprintf("%f") inside, std::stod is strtod.
set -euo pipefail
fuentes="$(cd "$1" && pwd)"
construccion="${2:-}"
falla=0

# Whole words, before any // comment on the line.
llamadas='\b(v?(s|sn|f|d|as)?printf|v?(s|f)?scanf|strto(f|d|ld|l|ll|ul|ull|imax|umax)|ato(i|l|ll|f)|sto(i|l|ll|ul|ull|f|d|ld)|imbue)\s*\('
tipos='\b((basic_)?[io]?stringstream|std::locale)\b'
if lineas="$(cd "$fuentes" && grep -rnP --include='*.cpp' --include='*.h' "^(?:(?!//).)*?(?:$llamadas|$tipos)" src |
             grep -v -e '^src/reports/' -e '^src/store/Texto\.cpp:')"; then
    echo "Números con la configuración regional del proceso (use to_chars/from_chars o store/Texto.h):"
    echo "$lineas"
    falla=1
fi

if [ -n "$construccion" ]; then
    simbolos='^(v?(s|sn|f|d|as)?printf|__[a-z]*printf_chk|(__isoc99_)?v?(s|f)?scanf|strto[a-z]+|ato(i|l|ll|f))$'
    while IFS= read -r -d '' objeto; do
        fuente="src/${objeto#*.dir/src/}"
        fuente="${fuente%.o}"
        case "$fuente" in src/reports/* | src/store/Texto.cpp) continue ;; esac
        if usados="$(nm -u "$objeto" | sed 's/^ *U //' | grep -E "$simbolos")"; then
            echo "$fuente llama a: $(echo "$usados" | tr '\n' ' ')"
            (cd "$fuentes" && grep -n 'to_string' "$fuente" | sed "s|^|  $fuente:|") || true
            falla=1
        fi
    done < <(find "$construccion" -path '*/CMakeFiles/*.dir/src/*' -name '*.o' -print0)
fi
exit "$falla"
