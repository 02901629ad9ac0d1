#!/usr/bin/env bash
# Start-up of the window under Xvfb: milliseconds until the main window is
# mapped, and resident memory one second later, as the median of N runs.
#   tools/medir_arranque.sh CORVELIAN [N]
# The program is copied into a temporary folder with a sample game (made by
# the corvelian-cli beside it), since the window opens the game next to itself.
# Needs xvfb, xdotool.
set -eu
programa=$(realpath "$1") veces=${2:-7}
carpeta=$(mktemp -d)
trap 'rm -rf "$carpeta"' EXIT
cp "$programa" "$carpeta/corvelian"
"$(dirname "$programa")/corvelian-cli" demo "$carpeta/juego" >/dev/null
cp "$carpeta/corvelian" "$carpeta/juego/"
interno="$carpeta/interno.sh"
cat >"$interno" <<'INTERNO'
#!/usr/bin/env bash
cd "$1"
for _ in $(seq "$2"); do
    inicio=$(date +%s%N)
    ./corvelian >/dev/null 2>>errores.txt & pid=$!
    # xdotool --sync waits half a second between looks: poll more often, for 10 s at most.
    for _ in $(seq 1000); do
        xdotool search --onlyvisible --name CORVELIAN >/dev/null 2>&1 && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.01
    done
    fin=$(date +%s%N)
    sleep 1
    rss=$(awk '/VmRSS/ {print $2}' /proc/$pid/status 2>/dev/null || echo 0)
    echo "$(( (fin - inicio) / 1000000 )) $rss"
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
done
grep -v XDG_RUNTIME_DIR errores.txt | sed 's/^/programa: /' >&2
true
INTERNO
chmod +x "$interno"
resultados=$(xvfb-run -a -s "-screen 0 1280x800x24" "$interno" "$carpeta/juego" "$veces")
mediana() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ms=$(cut -d' ' -f1 <<<"$resultados" | mediana)
kb=$(cut -d' ' -f2 <<<"$resultados" | mediana)
echo "ventana visible: $ms ms, memoria residente: $((kb / 1024)) MB (medianas de $veces)"
