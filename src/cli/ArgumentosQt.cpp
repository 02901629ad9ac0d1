// The arguments of the orders that the companion program runs, checked
// where both programs can: in the tool before it hands an order over, and in
// the companion when it runs it.

#include "cli/Errores.h"
#include "cli/Linea.h"
#include "juego/Auditoria.h"

TArgumentosPortal argumentosPortal(const std::vector<std::string>& a) {
    TArgumentosPortal leidos;
    int32_t puerto = leidos.puerto;
    int32_t porDireccion = static_cast<int32_t>(leidos.conexionesPorDireccion);
    for (std::size_t i = 0; i < a.size(); i += 2) {
        if (i + 1 == a.size() ||
            (a[i] != "--puerto" && a[i] != "--direccion" && a[i] != "--hasta" && a[i] != "--conexiones-por-direccion"))
            throw ErrorUso("la orden se escribe «corvelian-cli [--datos CARPETA] portal [--puerto P] [--direccion A] "
                           "[--hasta HH:MM] [--conexiones-por-direccion N]».");
        if (a[i] == "--direccion") leidos.direccion = a[i + 1];
        else if (a[i] == "--hasta" && !(leidos.hasta = horaDeHoy(a[i + 1])))
            throw ErrorUso("--hasta: «" + a[i + 1] + "» no es una hora HH:MM de hoy (por ejemplo 10:59).");
        else if (a[i] == "--puerto") puerto = argumentoEntero("--puerto", a[i + 1]);
        else if (a[i] == "--conexiones-por-direccion")
            porDireccion = argumentoEntero("--conexiones-por-direccion", a[i + 1]);
    }
    // The portal's own bounds, kept here too so that the tool refuses without its companion.
    if (porDireccion < 1 || porDireccion > 4096)
        throw ErrorUso("--conexiones-por-direccion: cada dirección puede tener de 1 a 4096 conexiones, no " +
                       std::to_string(porDireccion) + ".");
    leidos.conexionesPorDireccion = static_cast<unsigned>(porDireccion);
    if (puerto < 1 || puerto > 65535) throw ErrorUso("--puerto: el puerto va de 1 a 65535, no " + std::to_string(puerto) + ".");
    leidos.puerto = static_cast<uint16_t>(puerto);
    return leidos;
}

int32_t argumentoPeriodoPdf(const std::vector<std::string>& a) { return argumentoEntero("PERIODO", a.at(0)); }
