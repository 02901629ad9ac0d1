// The report text as the screen shows it (Windows-1252 decoded, line ends,
// tabs at 8 columns) and the pages it prints on: blocks kept whole where
// they fit, one header per page, as many PDF pages as headers.

#include "store/Texto.h"
#include "ui/ImpresionReportes.h"
#include "ui/TextoReporte.h"

#include <QApplication>
#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

/// Lines "a1".."aN" as one block.
QStringList bloque(const QString& nombre, int lineas) {
    QStringList b;
    for (int i = 1; i <= lineas; ++i) b << nombre + QString::number(i);
    return b;
}

/// Blocks of the given sizes, a blank line apart ("" between them).
QStringList bloques(const QList<int>& tamanos) {
    QStringList lineas;
    for (int i = 0; i < tamanos.size(); ++i) {
        if (i > 0) lineas << QString();
        lineas += bloque(QString(QChar('a' + i)), tamanos[i]);
    }
    return lineas;
}

/// "a1-a3|b1-b2": each page as its first and last line.
QString resumen(const QList<QStringList>& paginas) {
    QStringList partes;
    for (const QStringList& p : paginas)
        partes << (p.isEmpty() ? QStringLiteral("-") : (p.first().isEmpty() ? QStringLiteral("_") : p.first()) +
                                                          QLatin1Char('-') +
                                                          (p.last().isEmpty() ? QStringLiteral("_") : p.last()));
    return partes.join(QLatin1Char('|'));
}

int paginasPdf(const QString& ruta) {
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly)) return -1;
    const QString texto = QString::fromLatin1(archivo.readAll());
    return static_cast<int>(texto.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"))));
}

}  // namespace

class PruebaImpresion : public QObject {
    Q_OBJECT

private slots:
    void textoDeReporte_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("texto");
        QTest::newRow("CR LF") << QByteArray("uno\r\ndos\r\n") << "uno\ndos\n";
        QTest::newRow("LF solo") << QByteArray("uno\ndos") << "uno\ndos";
        QTest::newRow("CR solo") << QByteArray("uno\rdos") << "uno\ndos";
        QTest::newRow("línea vacía entre CR LF") << QByteArray("a\r\n\r\nb") << "a\n\nb";
        QTest::newRow("tab al comienzo") << QByteArray("\tx") << "        x";
        QTest::newRow("tab a mitad de columna") << QByteArray("abc\tx") << "abc     x";
        QTest::newRow("tab en la columna 7") << QByteArray("abcdefg\tx") << "abcdefg x";
        QTest::newRow("tab en la columna 8") << QByteArray("abcdefgh\tx") << "abcdefgh        x";
        QTest::newRow("dos tabs") << QByteArray("a\t\tb") << "a               b";
        QTest::newRow("la columna vuelve a 0 tras CR LF") << QByteArray("abcdef\r\n\tx") << "abcdef\n        x";
        QTest::newRow("la columna vuelve a 0 tras CR") << QByteArray("abcdef\r\tx") << "abcdef\n        x";
        QTest::newRow("Windows-1252 ocupa una columna")
            << QByteArray("a\xf1o\t|\x80\t|") << QStringLiteral("año     |€      |");
    }
    void textoDeReporte() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, texto);
        QCOMPARE(::textoDeReporte(bytes.toStdString()), texto);
    }

    void paginar_data() {
        QTest::addColumn<QStringList>("lineas");
        QTest::addColumn<int>("porPagina");
        QTest::addColumn<QString>("paginas");
        QTest::newRow("vacío: una página") << QStringList() << 10 << "-";
        QTest::newRow("cabe entero") << bloques({3, 2}) << 10 << "a1-b2";
        QTest::newRow("justo una página") << bloques({4, 5}) << 10 << "a1-b5";
        QTest::newRow("el bloque que no cabe pasa entero") << bloques({4, 6}) << 10 << "a1-_|b1-b6";
        QTest::newRow("el separador no abre la página") << bloques({9, 3}) << 10 << "a1-_|b1-b3";
        QTest::newRow("separador que cae al final") << bloques({10, 3}) << 10 << "a1-a10|b1-b3";
        QTest::newRow("bloque más largo que una página se corta") << bloques({2, 25}) << 10 << "a1-b7|b8-b17|b18-b25";
        QTest::newRow("tres bloques en dos páginas") << bloques({4, 4, 4}) << 10 << "a1-_|c1-c4";
        QTest::newRow("blancos al comienzo del reporte se quedan")
            << (QStringList{"", ""} + bloque("a", 3)) << 10 << "_-a3";
        QTest::newRow("blancos seguidos no abren página")
            << (bloque("a", 5) + QStringList{"", "", "", "", "", "", ""} + bloque("b", 2)) << 10 << "a1-_|b1-b2";
    }
    void paginar() {
        QFETCH(QStringList, lineas);
        QFETCH(int, porPagina);
        QFETCH(QString, paginas);
        const QList<QStringList> resultado = ::paginar(lineas, porPagina);
        QCOMPARE(resumen(resultado), paginas);
        // Only blank lines may be dropped, and nothing moves out of order.
        QStringList impresas, escritas;
        for (const QStringList& p : resultado) {
            QVERIFY(p.size() <= porPagina);
            for (const QString& l : p)
                if (!l.isEmpty()) impresas << l;
        }
        for (const QString& l : lineas)
            if (!l.isEmpty()) escritas << l;
        QCOMPARE(impresas, escritas);
    }

    void imprimirReportes_data() {
        QTest::addColumn<QList<int>>("lineas");
        QTest::addColumn<int>("minimo");
        QTest::newRow("dos reportes cortos") << QList<int>{5, 8} << 2;
        QTest::newRow("uno largo y uno corto") << QList<int>{400, 3} << 5;
    }
    void imprimirReportes() {
        QFETCH(QList<int>, lineas);
        QFETCH(int, minimo);
        QTemporaryDir carpeta;
        QPrinter impresora(QPrinter::HighResolution);
        impresora.setOutputFormat(QPrinter::PdfFormat);
        impresora.setOutputFileName(carpeta.filePath(QStringLiteral("p.pdf")));
        QList<TReporteImpreso> reportes;
        for (int i = 0; i < lineas.size(); ++i)
            reportes.append({QStringLiteral("Empresa %1").arg(i), bloque(QStringLiteral("linea "), lineas[i]).join('\n')});
        const QStringList cabeceras = ::imprimirReportes(impresora, QStringLiteral("juego"), 4, reportes);
        QVERIFY(cabeceras.size() >= minimo);
        QCOMPARE(paginasPdf(carpeta.filePath(QStringLiteral("p.pdf"))), cabeceras.size());
        // Each report starts on its own page; its pages carry its header.
        QCOMPARE(cabeceras.first(), QStringLiteral("juego - Período 4 - Empresa 0"));
        QCOMPARE(cabeceras.last(), QStringLiteral("juego - Período 4 - Empresa %1").arg(lineas.size() - 1));
        QCOMPARE(cabeceras.count(QStringLiteral("juego - Período 4 - Empresa 0")), cabeceras.size() - 1);
        QCOMPARE(cabeceras.count(QStringLiteral("juego - Período 4 - Empresa 1")), 1);
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacion(argc, argv);
    PruebaImpresion prueba;
    return QTest::qExec(&prueba, argc, argv);
}
#include "impresion_test.moc"
