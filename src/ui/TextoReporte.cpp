#include "ui/TextoReporte.h"

#include "documentos/TextoQt.h"

namespace {

constexpr int anchoTabulador = 8;

}  // namespace

QString textoDeReporte(const std::string& bytesCp1252) {
    // Every Windows-1252 byte becomes one QChar, so a QChar is one column.
    const QString crudo = aQString(bytesCp1252);
    QString salida;
    salida.reserve(crudo.size());
    int columna = 0;
    for (qsizetype i = 0; i < crudo.size(); ++i) {
        const QChar letra = crudo[i];
        if (letra == QLatin1Char('\r') || letra == QLatin1Char('\n')) {
            if (letra == QLatin1Char('\r') && i + 1 < crudo.size() && crudo[i + 1] == QLatin1Char('\n')) ++i;
            salida += QLatin1Char('\n');
            columna = 0;
        } else if (letra == QLatin1Char('\t')) {
            const int espacios = anchoTabulador - columna % anchoTabulador;
            salida += QString(espacios, QLatin1Char(' '));
            columna += espacios;
        } else {
            salida += letra;
            ++columna;
        }
    }
    return salida;
}
