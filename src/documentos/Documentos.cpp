#include "documentos/Documentos.h"

#include "store/NombresArchivos.h"

#include "documentos/Graficos.h"
#include "juego/Juego.h"
#include "reports/Reportes_UD.h"
#include "store/CarpetaDatos.h"
#include "store/ErrorArchivo.h"
#include "store/SistemaArchivos.h"
#include "store/Texto.h"
#include "documentos/TextoQt.h"

#include <QApplication>
#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <thread>
#include <map>
#include <memory>
#include <optional>

namespace fs = std::filesystem;

namespace {

QString desde1252(const std::string& texto) { return QString::fromStdString(cp1252AUtf8(texto)); }

/// One report of a document, with what its page headers name.
struct TSeccion {
    TSeccion(QString empresa_, QString tipo_, QStringList lineas_)
        : empresa(std::move(empresa_)), tipo(std::move(tipo_)), lineas(std::move(lineas_)) {}

    QString empresa;  // the company the report is about, or "Industria"
    QString tipo;     // "Informe", "Aviso", "Informe de la industria"
    QStringList lineas;
};

/// What one writer lays out once and reuses in every document it writes: a
/// font per size (a new one runs the font's setup program again) and each
/// report's lines (the industry report is in every document). Fonts are not
/// shared between threads, so each writer has its own.
struct TLetras {
    std::map<double, QRawFont> fuentes;
    // none for a line the font cannot show
    std::map<std::pair<const TSeccion*, double>, std::vector<std::optional<QGlyphRun>>> corridas;
};

/// The lines of a section as glyphs of a fixed-width font, each in its
/// column. Blanks are left out: the PDF writes every glyph with its own
/// position, so they would only cost time, and readers take the gaps for blanks.
const std::vector<std::optional<QGlyphRun>>& corridasDe(const TSeccion& seccion, const QRawFont& letra,
                                                        TLetras& letras) {
    auto [lugar, nueva] = letras.corridas.try_emplace({&seccion, letra.pixelSize()});
    auto& corridas = lugar->second;
    if (!nueva) return corridas;
    corridas.assign(static_cast<std::size_t>(seccion.lineas.size()), std::nullopt);
    const double avance = letra.averageCharWidth();
    for (qsizetype i = 0; i < seccion.lineas.size(); ++i) {
        const QString& linea = seccion.lineas[i];
        const QList<quint32> glifos = letra.glyphIndexesForString(linea);
        if (glifos.size() != linea.size() || glifos.contains(0u)) continue;
        QList<quint32> visibles;
        QList<QPointF> posiciones;
        for (qsizetype c = 0; c < glifos.size(); ++c) {
            if (linea[c] == QLatin1Char(' ')) continue;
            visibles.append(glifos[c]);
            posiciones.append(QPointF(avance * static_cast<double>(c), 0));
        }
        QGlyphRun corrida;
        corrida.setRawFont(letra);
        corrida.setGlyphIndexes(visibles);
        corrida.setPositions(posiciones);
        corridas[static_cast<std::size_t>(i)] = std::move(corrida);
    }
    return corridas;
}

int paginasDe(const TSeccion& seccion) {
    return std::max<int>(1, static_cast<int>((seccion.lineas.size() + lineasPorPagina - 1) / lineasPorPagina));
}

/// The game folder's own name, for the headers.
QString nombreDelJuego(const TJuego& juego) {
    fs::path carpeta = fs::absolute(juego.ruta()).lexically_normal();
    if (carpeta.filename().empty()) carpeta = carpeta.parent_path();
    return deRuta(carpeta.filename());
}

void prepararPagina(QPdfWriter& pdf) {
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 12, 15, 12),
                                  QPageLayout::Millimeter));
}

/// The fixed-width font for a document whose widest line has columnas
/// characters: 9 points, smaller when that line would not fit the page.
QFont fuenteParaColumnas(QPdfWriter& pdf, qsizetype columnas) {
    QFont fuente(QStringLiteral("DejaVu Sans Mono"));
    fuente.setStyleHint(QFont::Monospace);
    fuente.setFixedPitch(true);
    // Hinting is for screens; on paper it only costs time.
    fuente.setHintingPreference(QFont::PreferNoHinting);
    fuente.setPointSizeF(9);
    const double anchoPagina = pdf.pageLayout().paintRectPixels(pdf.resolution()).width();
    const double ancho = QFontMetricsF(fuente, &pdf).horizontalAdvance(QString(columnas, QLatin1Char('M')));
    if (ancho > anchoPagina) fuente.setPointSizeF(9 * anchoPagina / ancho);
    return fuente;
}

/// The size the page of charts is drawn at before it is scaled to the paper.
const QSizeF tamanoPaginaGraficos(1000, 1400);

/// The document as the bytes of a PDF (ruta only names it in errors); with
/// graficos it ends with a page of charts. Returns its number of pages.
int escribirPdf(const fs::path& ruta, const QString& titulo, const std::vector<const TSeccion*>& secciones,
                const QString& juego, int periodo, TLetras& letras, QByteArray& bytes,
                const TEvolucion* graficos = nullptr) {
    int total = graficos ? 1 : 0;
    qsizetype columnas = 80;
    for (const TSeccion* s : secciones) {
        total += paginasDe(*s);
        for (const QString& linea : s->lineas) columnas = std::max(columnas, linea.size());
    }

    QBuffer destino(&bytes);
    destino.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&destino);
    pdf.setTitle(titulo);
    pdf.setCreator(QStringLiteral("CORVELIAN"));
    prepararPagina(pdf);
    QPainter pintor;
    if (!pintor.begin(&pdf)) throw ErrorArchivo(ruta, "no se pudo crear el PDF");

    // The painter's origin is the top left corner inside the margins.
    const QRectF area(QPointF(0, 0), QSizeF(pdf.pageLayout().paintRectPixels(pdf.resolution()).size()));
    // Two slots for the header and the gap under it.
    const double alto = area.height() / (lineasPorPagina + 2);
    const QFont fuente = fuenteParaColumnas(pdf, columnas);
    pintor.setFont(fuente);
    const double base = QFontMetricsF(fuente, &pdf).ascent();
    auto [lugar, nueva] = letras.fuentes.try_emplace(fuente.pointSizeF());
    if (nueva) {
        lugar->second = QRawFont::fromFont(fuente);
        lugar->second.setPixelSize(fuente.pointSizeF() * pdf.resolution() / 72.0);
    }
    const QRawFont& letra = lugar->second;

    int hoja = 0;
    for (const TSeccion* s : secciones) {
        const int paginas = paginasDe(*s);
        for (int p = 0; p < paginas; ++p) {
            if (hoja++ > 0 && !pdf.newPage()) throw ErrorArchivo(ruta, "no se pudo agregar una página al PDF");
            // One pass, so that a "%" in a name is not taken for a marker.
            const QString encabezado =
                QStringLiteral("%1 · Período %2 · %3 · %4").arg(juego, QString::number(periodo), s->empresa, s->tipo);
            const QString numero = QStringLiteral("Hoja %1 de %2").arg(hoja).arg(total);
            pintor.drawText(QPointF(0, base), encabezado);
            pintor.drawText(QRectF(0, 0, area.width(), alto), Qt::AlignRight | Qt::AlignTop, numero);
            const qsizetype desde = static_cast<qsizetype>(p) * lineasPorPagina;
            const qsizetype hasta = std::min<qsizetype>(s->lineas.size(), desde + lineasPorPagina);
            const auto& corridas = corridasDe(*s, letra, letras);
            for (qsizetype i = desde; i < hasta; ++i) {
                if (s->lineas[i].isEmpty()) continue;
                const QPointF origen(0, alto * static_cast<double>(i - desde + 2) + base);
                const auto& corrida = corridas[static_cast<std::size_t>(i)];
                if (!corrida) pintor.drawText(origen, s->lineas[i]);
                else if (!corrida->isEmpty()) pintor.drawGlyphRun(origen, *corrida);
            }
        }
    }
    if (graficos) {
        if (hoja++ > 0 && !pdf.newPage()) throw ErrorArchivo(ruta, "no se pudo agregar una página al PDF");
        pintor.drawText(QPointF(0, base), QStringLiteral("%1 · Período %2 · Temporada · Gráficos")
                                              .arg(juego, QString::number(periodo)));
        pintor.drawText(QRectF(0, 0, area.width(), alto), Qt::AlignRight | Qt::AlignTop,
                        QStringLiteral("Hoja %1 de %2").arg(hoja).arg(total));
        const QRectF debajo = area.adjusted(0, 2 * alto, 0, 0);
        const double escala = std::min(debajo.width() / tamanoPaginaGraficos.width(),
                                       debajo.height() / tamanoPaginaGraficos.height());
        pintor.save();
        pintor.translate(debajo.topLeft());
        pintor.scale(escala, escala);
        dibujarPaginaDeGraficos(*graficos, pintor, QRectF(QPointF(0, 0), tamanoPaginaGraficos));
        pintor.restore();
    }
    if (!pintor.end() || bytes.isEmpty()) throw ErrorArchivo(ruta, "no se pudo terminar el PDF");
    return total;
}

}  // namespace

QString expandirTabulaciones(const QString& linea) {
    if (!linea.contains(QLatin1Char('\t'))) return linea;
    QString salida;
    salida.reserve(linea.size() + 16);
    for (QChar c : linea) {
        if (c == QLatin1Char('\t')) salida.append(QString(8 - salida.size() % 8, QLatin1Char(' ')));
        else salida.append(c);
    }
    return salida;
}

QStringList lineasDeReporte(const std::string& bytes1252) {
    // The notices wrap their sentences with a lone CR: a line end too.
    QString texto = desde1252(bytes1252);
    texto.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lineas = texto.split(QLatin1Char('\n'));
    for (QString& linea : lineas) linea = expandirTabulaciones(linea);
    while (!lineas.isEmpty() && lineas.back().trimmed().isEmpty()) lineas.removeLast();
    return lineas;
}

std::string nombrePdfEmpresa(int periodo, const std::string& empresa1252) {
    return nombrePeriodo(periodo) + " - " + cp1252AUtf8(textoParaArchivo(empresa1252)) + ".pdf";
}

std::string nombrePdfDocente(int periodo) {
    return nombrePeriodo(periodo) + " (todos los informes).pdf";
}

namespace {

// The drawn documents into their places, each whole, and only then said to be written.
void guardarPdfs(TSistemaArchivos& sa, const fs::path& carpeta, const std::vector<TDocumentoPdf>& escritos,
                 std::vector<QByteArray>& pdfs) {
    crearCarpetas(sa, carpeta);
    std::vector<std::pair<fs::path, std::string>> archivos;
    for (std::size_t i = 0; i < escritos.size(); ++i) {
        archivos.emplace_back(escritos[i].ruta, pdfs[i].toStdString());
        pdfs[i] = QByteArray();
    }
    reemplazarArchivos(sa, carpeta, archivos);
}

}  // namespace

std::vector<TDocumentoPdf> escribirPdfsDelPeriodo(TJuego& juego, int periodo, const fs::path& carpeta) {
    const std::vector<int> periodos = juego.periodosDelHistorial();
    if (std::find(periodos.begin(), periodos.end(), periodo) == periodos.end())
        throw ErrorJuego("El período " + std::to_string(periodo) + " no está en el historial del juego.");
    const TArchivoPeriodo archivo = juego.periodoDelHistorial(periodo);

    const TSeccion industria{QStringLiteral("Industria"), QStringLiteral("Informe de la industria"),
                             lineasDeReporte(juego.reporteDelHistorial(periodo, archivo.reporteIndustria))};
    std::vector<TSeccion> informes, avisos;
    informes.reserve(archivo.industria.size());
    avisos.reserve(archivo.industria.size());
    std::vector<const TSeccion*> avisoDe(archivo.industria.size(), nullptr);
    for (std::size_t i = 0; i < archivo.industria.size(); ++i) {
        const TFilaIndustria& fila = archivo.industria[i];
        const QString empresa = desde1252(fila.empresa);
        informes.push_back({empresa, QStringLiteral("Informe"), lineasDeReporte(juego.reporteDelHistorial(periodo, fila.reporte))});
        if (!fila.aviso.empty()) {
            avisos.push_back({empresa, QStringLiteral("Aviso"), lineasDeReporte(juego.reporteDelHistorial(periodo, fila.aviso))});
            avisoDe[i] = &avisos.back();
        }
    }

    const QString nombreJuego = nombreDelJuego(juego);
    std::vector<TDocumentoPdf> escritos;
    std::vector<QString> titulos;
    std::vector<std::vector<const TSeccion*>> contenidos;
    for (std::size_t i = 0; i < archivo.industria.size(); ++i) {
        std::vector<const TSeccion*> secciones{&informes[i]};
        if (avisoDe[i]) secciones.push_back(avisoDe[i]);
        secciones.push_back(&industria);
        escritos.push_back({carpeta / nombrePdfEmpresa(periodo, archivo.industria[i].empresa),
                            archivo.industria[i].empresa, 0});
        titulos.push_back(informes[i].empresa);
        contenidos.push_back(std::move(secciones));
    }
    // The teacher's file of the last period opens with the end of the game.
    const TEvolucion graficos = evolucion(juego, periodo);
    QStringList final;
    for (const std::string& linea : textoFinal(graficos)) final << QString::fromStdString(linea);
    const TSeccion resultadoFinal{QStringLiteral("Juego"), QStringLiteral("Resultado final"), final};
    std::vector<const TSeccion*> todas;
    if (!final.isEmpty()) todas.push_back(&resultadoFinal);
    todas.push_back(&industria);
    for (const TSeccion& s : informes) todas.push_back(&s);
    for (const TSeccion& s : avisos) todas.push_back(&s);
    escritos.push_back({carpeta / nombrePdfDocente(periodo), {}, 0});
    titulos.push_back(QStringLiteral("Todos los informes"));
    contenidos.push_back(std::move(todas));

    // The documents are independent: drawn side by side on the cores there
    // are; the first failure stops the rest and is raised.
    std::vector<QByteArray> pdfs(escritos.size());
    std::atomic<std::size_t> siguiente{0};
    std::atomic<bool> fallo{false};
    std::exception_ptr primerError;
    std::mutex cerrojo;
    // The teacher's file ends with charts, which only the program's own
    // thread may draw: this thread writes it first, the helpers the others.
    const std::size_t docente = escritos.size() - 1;
    auto escribir = [&](bool principal) {
        TLetras letras;
        try {
            if (principal)
                escritos[docente].paginas = escribirPdf(escritos[docente].ruta, titulos[docente], contenidos[docente],
                                                        nombreJuego, periodo, letras, pdfs[docente], &graficos);
            for (std::size_t j; !fallo && (j = siguiente++) < docente;)
                escritos[j].paginas =
                    escribirPdf(escritos[j].ruta, titulos[j], contenidos[j], nombreJuego, periodo, letras, pdfs[j]);
        } catch (...) {
            const std::lock_guard<std::mutex> guarda(cerrojo);
            if (!primerError) primerError = std::current_exception();
            fallo = true;
        }
    };
    const std::size_t hilos = std::min<std::size_t>({std::max(1u, std::thread::hardware_concurrency()), 4, escritos.size()});
    std::vector<std::thread> ayudantes;
    for (std::size_t h = 1; h < hilos; ++h) ayudantes.emplace_back(escribir, false);
    escribir(true);
    for (std::thread& ayudante : ayudantes) ayudante.join();
    if (primerError) std::rethrow_exception(primerError);

    guardarPdfs(juego.sistemaArchivos(), carpeta, escritos, pdfs);
    return escritos;
}

QByteArray pdfDeEmpresa(TJuego& juego, int periodo, const std::string& empresa1252) {
    const std::vector<int> periodos = juego.periodosDelHistorial();
    if (std::find(periodos.begin(), periodos.end(), periodo) == periodos.end())
        throw ErrorJuego("El período " + std::to_string(periodo) + " no está en el historial del juego.");
    const TArchivoPeriodo archivo = juego.periodoDelHistorial(periodo);
    const auto fila = std::find_if(archivo.industria.begin(), archivo.industria.end(),
                                   [&](const TFilaIndustria& f) { return f.empresa == empresa1252; });
    if (fila == archivo.industria.end())
        throw ErrorJuego("La empresa no jugó el período " + std::to_string(periodo) + ".");
    const QString empresa = desde1252(fila->empresa);
    const TSeccion informe{empresa, QStringLiteral("Informe"), lineasDeReporte(juego.reporteDelHistorial(periodo, fila->reporte))};
    std::optional<TSeccion> aviso;
    if (!fila->aviso.empty())
        aviso.emplace(empresa, QStringLiteral("Aviso"), lineasDeReporte(juego.reporteDelHistorial(periodo, fila->aviso)));
    const TSeccion industria{QStringLiteral("Industria"), QStringLiteral("Informe de la industria"),
                             lineasDeReporte(juego.reporteDelHistorial(periodo, archivo.reporteIndustria))};
    std::vector<const TSeccion*> secciones{&informe};
    if (aviso) secciones.push_back(&*aviso);
    secciones.push_back(&industria);
    QByteArray bytes;
    TLetras letras;
    escribirPdf(nombrePdfEmpresa(periodo, fila->empresa), empresa, secciones, nombreDelJuego(juego), periodo, letras, bytes);
    return bytes;
}

double puntosPorColumna(qsizetype columnas) {
    QBuffer nada;
    nada.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&nada);
    prepararPagina(pdf);
    const QFont fuente = fuenteParaColumnas(pdf, std::max<qsizetype>(columnas, 80));
    return QFontMetricsF(fuente, &pdf).horizontalAdvance(QLatin1Char('M')) * 72.0 / pdf.resolution();
}

void asegurarAplicacionGrafica(bool sinPantalla) {
    if (QCoreApplication::instance()) return;
    if (sinPantalla) qputenv("QT_QPA_PLATFORM", "offscreen");
    else if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Lives until the program ends; QApplication keeps a reference to argc.
    static int argc = 1;
    static char nombre[] = "corvelian-cli";
    static char* argv[] = {nombre, nullptr};
    // The charts are widgets of a graphics scene: a QApplication, not a QGuiApplication.
    static QApplication* aplicacion = new QApplication(argc, argv);
    (void)aplicacion;
}
