// The arguments of the orders that the companion program runs, checked
// where both programs can: in the tool before it hands an order over, and in
// the companion when it runs it.

#include "cli/Errores.h"
#include "cli/Linea.h"
#include "juego/Auditoria.h"

TArgumentosPortal argumentosPortal(const std::vector<std::string>& a) {
    TArgumentosPortal leidos;
    int32_t puerto = leidos.puerto;
    for (std::size_t i = 0; i < a.size(); i += 2) {
        if (i + 1 == a.size() || (a[i] != "--puerto" && a[i] != "--direccion" && a[i] != "--hasta"))
            throw ErrorUso("la orden se escribe «corvelian-cli [--datos CARPETA] portal [--puerto P] [--direccion A] "
                           "[--hasta HH:MM]».");
        if (a[i] == "--direccion") leidos.direccion = a[i + 1];
        else if (a[i] == "--hasta" && !(leidos.hasta = horaDeHoy(a[i + 1])))
            throw ErrorUso("--hasta: «" + a[i + 1] + "» no es una hora HH:MM de hoy (por ejemplo 10:59).");
        else if (a[i] == "--puerto") puerto = argumentoEntero("--puerto", a[i + 1]);
    }
    if (puerto < 1 || puerto > 65535) throw ErrorUso("--puerto: el puerto va de 1 a 65535, no " + std::to_string(puerto) + ".");
    leidos.puerto = static_cast<uint16_t>(puerto);
    return leidos;
}

int32_t argumentoPeriodoPdf(const std::vector<std::string>& a) { return argumentoEntero("PERIODO", a.at(0)); }
