#!/usr/bin/env bash
# Builds the Debian package from a finished build, checks what it holds,
# unpacks it into a throw-away root, plays the sample game with the installed
# tool and runs Debian's checkers on it.
#   paquete_test.sh CARPETA_DE_CONSTRUCCION VERSION CORVELIAN_CLI_DE_LA_CONSTRUCCION
set -uo pipefail
construccion="$1"; version="$2"; cli_construccion="$3"
tmp="$(mktemp -d)"; trap 'rm -rf "$tmp"' EXIT
fallas=0
falla() { echo "FALLA: $*" >&2; fallas=$((fallas + 1)); }

if ! cpack -G DEB --config "$construccion/CPackConfig.cmake" -B "$tmp/cpack" >"$tmp/cpack.log" 2>&1; then
    cat "$tmp/cpack.log" >&2; echo "FALLA: cpack" >&2; exit 1
fi
deb="$tmp/cpack/corvelian_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { ls "$tmp/cpack" >&2; echo "FALLA: no está $deb" >&2; exit 1; }

# Every file the package must hold, with its mode; nothing else may be there
# (no tests, no benchmarks, no libraries of the build).
iconos=""
for lado in 16 32 48 64 128 256; do iconos+="-rw-r--r-- ./usr/share/icons/hicolor/${lado}x${lado}/apps/corvelian.png"$'\n'; done
esperados="-rwxr-xr-x ./usr/bin/corvelian
-rwxr-xr-x ./usr/bin/corvelian-cli
-rwxr-xr-x ./usr/lib/corvelian/corvelian-cli-qt
-rw-r--r-- ./usr/share/applications/corvelian.desktop
-rw-r--r-- ./usr/share/metainfo/corvelian.metainfo.xml
-rw-r--r-- ./usr/share/icons/hicolor/scalable/apps/corvelian.svg
${iconos}-rw-r--r-- ./usr/share/man/man1/corvelian.1.gz
-rw-r--r-- ./usr/share/man/man1/corvelian-cli.1.gz
-rw-r--r-- ./usr/share/doc/corvelian/copyright
-rw-r--r-- ./usr/share/doc/corvelian/changelog.gz
-rw-r--r-- ./usr/share/doc/corvelian/ejemplos/decisiones.csv
-rw-r--r-- ./usr/share/doc/corvelian/ejemplos/equipos.txt
-rw-r--r-- ./usr/share/doc/corvelian/ejemplos/parametros.ini"
dpkg-deb -c "$deb" >"$tmp/contenido" || falla "dpkg-deb -c"
hallados="$(awk '$1 !~ /^d/ { print $1, $6 }' "$tmp/contenido" | sort)"
if [ "$hallados" != "$(sort <<<"$esperados")" ]; then
    falla "contenido del paquete (- falta o difiere, + sobra):"
    diff <(sort <<<"$esperados") <(echo "$hallados") | grep '^[<>]' | sed 's/^</-/; s/^>/+/' >&2
fi
awk '$2 != "root/root" || ($1 ~ /^d/ && $1 != "drwxr-xr-x") { print "FALLA: " $0; exit 1 }' "$tmp/contenido" >&2 ||
    falla "dueño o permisos de una carpeta"

# The control fields, the dependencies worked out from the libraries.
while IFS='|' read -r campo patron; do
    valor="$(dpkg-deb -f "$deb" "$campo")"
    grep -Eq "$patron" <<<"$valor" || falla "campo $campo «$valor» no cumple «$patron»"
done <<EOF
Package|^corvelian$
Version|^${version}$
Section|^education$
Priority|^optional$
Maintainer|^[^<]+ <[^@ ]+@[^> ]+>$
Depends|(^|, )libc6 \(>=
Depends|(^|, )libqt6widgets6 \(>=
Depends|(^|, )libxlsxwriter[0-9a-z]* \(>=
Depends|(^|, )libmicrohttpd12 \(>=
Depends|(^|, )qt6-qpa-plugins(,|$)
Depends|(^|, )fonts-dejavu-core(,|$)
Description|^classroom business-simulation game
EOF

raiz="$tmp/raiz"
dpkg-deb -x "$deb" "$raiz" || falla "dpkg-deb -x"
export HOME="$tmp/casa" XDG_DATA_HOME="$tmp/casa/datos"
mkdir -p "$XDG_DATA_HOME"

# The installed (stripped) tool plays the whole sample game, and plays it
# exactly as the tool of the build does.
cli="$raiz/usr/bin/corvelian-cli"
"$cli" demo "$tmp/demo" >"$tmp/demo.log" 2>&1 || { cat "$tmp/demo.log" >&2; falla "demo del paquete"; }
"$cli_construccion" demo "$tmp/demo-construccion" >/dev/null 2>&1 || falla "demo de la construcción"
diff -r "$tmp/demo" "$tmp/demo-construccion" >&2 || falla "la demo del paquete difiere de la de la construcción"
[ -f "$tmp/demo/historial/Periodo 10/INDZONA1.txt" ] || falla "la demo no llegó al período 10"
"$cli" --datos "$tmp/demo" estado >/dev/null || falla "estado con el programa instalado"
# The installed tool finds its companion for the orders drawn with Qt.
QT_QPA_PLATFORM=offscreen "$cli" --datos "$tmp/demo" pdf 10 "$tmp/pdf" >"$tmp/pdf.log" 2>&1 ||
    { cat "$tmp/pdf.log" >&2; falla "pdf con el programa instalado"; }
[ -n "$(ls "$tmp/pdf"/*.pdf 2>/dev/null)" ] || falla "pdf no escribió documentos"

# The manual page documents every order that --help lists, and renders
# without a warning.
man_cli="$tmp/corvelian-cli.1"
zcat "$raiz/usr/share/man/man1/corvelian-cli.1.gz" >"$man_cli"
ordenes="$("$cli" --help | sed -n '/^Órdenes:/,/^Opciones:/p' | grep -oE '^  [a-z][a-z0-9]*' | tr -d ' ')"
[ "$(wc -l <<<"$ordenes")" -ge 5 ] || falla "no se leyeron las órdenes de --help: «$ordenes»"
for orden in $ordenes; do
    grep -Eq "^\.BI? \"?${orden}( |\"|$)" "$man_cli" || falla "la página de manual no describe la orden $orden"
done
for pagina in corvelian corvelian-cli; do
    avisos="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$raiz/usr/share/man/man1/$pagina.1.gz" 2>&1 >/dev/null)"
    [ -z "$avisos" ] || falla "avisos de man en $pagina.1: $avisos"
done

# The desktop entry starts an installed program with an installed icon, and
# every PNG has the size of its folder.
entrada="$raiz/usr/share/applications/corvelian.desktop"
desktop-file-validate "$entrada" >"$tmp/dfv.log" 2>&1 || falla "desktop-file-validate: $(cat "$tmp/dfv.log")"
! grep -Eq 'error:|warning:' "$tmp/dfv.log" || falla "desktop-file-validate: $(cat "$tmp/dfv.log")"
programa="$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entrada")"
[ -n "$programa" ] && [ -x "$raiz/usr/bin/$programa" ] || falla "Exec=$programa no está instalado"
icono="$(sed -n 's/^Icon=//p' "$entrada")"
[ -f "$raiz/usr/share/icons/hicolor/scalable/apps/$icono.svg" ] || falla "Icon=$icono no tiene SVG"
for png in "$raiz"/usr/share/icons/hicolor/*x*/apps/*.png; do
    lado="$(basename "$(dirname "$(dirname "$png")")")"
    file "$png" | grep -q "PNG image data, ${lado/x/ x }," || falla "$png no mide $lado"
done
# The component id is not reverse-DNS: the program has no domain to name it after.
appstreamcli validate --no-net --override=cid-desktopapp-is-not-rdns=info \
    "$raiz/usr/share/metainfo/corvelian.metainfo.xml" >&2 || falla "appstreamcli validate"

lintian --fail-on error --display-level '>=warning' --tag-display-limit 0 "$deb" >"$tmp/lintian.log" 2>&1 ||
    falla "lintian encontró errores"
cat "$tmp/lintian.log"

if [ "$fallas" -ne 0 ]; then echo "$fallas fallas" >&2; exit 1; fi
echo "El paquete $(basename "$deb") está completo."
