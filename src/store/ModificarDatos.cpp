#include "store/ModificarDatos.h"

#include "store/Datos_UD.h"
#include "store/ErrorArchivo.h"

TTextosDatosIniciales textosModificables(const TRegDatosIniciales& d) {
    TTextosDatosIniciales t;
    for (const TParametro& p : kTablaParametros) t.*p.texto = textoParametro(p, d);
    return t;
}

TRegDatosIniciales aplicarModificaciones(const TRegDatosIniciales& guardado, const TTextosDatosIniciales& textos) {
    // The bank names of a message are the stored ones: their boxes are not saved.
    TTextosDatosIniciales t = textos;
    t.nombreBancoA = aTexto(guardado.nombreBancoA);
    t.nombreBancoB = aTexto(guardado.nombreBancoB);
    TRegDatosIniciales r = guardado;
    for (const TParametro& p : kTablaParametros)
        if (p.modificable) convertirParametro(p, t, r);
    return r;
}

TRegDatosIniciales guardarModificaciones(const TCarpeta& carpeta, const TTextosDatosIniciales& textos) {
    TDatosjuego datos(carpeta);
    TRegDatosIniciales guardado{};
    datos.leerDatosIniciales(guardado);
    const TRegDatosIniciales nuevo = aplicarModificaciones(guardado, textos);
    datos.guardarDatosIniciales(nuevo);
    return nuevo;
}
