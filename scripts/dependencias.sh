# Installs the Debian packages the project needs, skipping those already there.
# Sourced by jugar.sh and probar.sh.

paquetes_necesarios=(cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev
                     qt6-base-dev qt6-translations-l10n libgl-dev libxlsxwriter-dev locales
                     fonts-dejavu-core qt6-charts-dev qt6-svg-dev libmicrohttpd-dev
                     libqrencode-dev pkg-config)

instalar_dependencias() {
    local faltan=()
    for paquete in "${paquetes_necesarios[@]}"; do
        dpkg-query -W -f='${Status}' "$paquete" 2>/dev/null | grep -q "install ok installed" || faltan+=("$paquete")
    done
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    if [ ${#faltan[@]} -gt 0 ]; then
        echo "Instalando: ${faltan[*]}"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${faltan[@]}"
    fi
    # The tests check the reports under a regional setting with a decimal comma.
    if ! locale -a 2>/dev/null | grep -qi '^es_AR\.utf-\?8$'; then
        $sudo localedef -i es_AR -f UTF-8 es_AR.UTF-8
    fi
}
