// The program's numbers follow the desktop's regional settings: once the
// application object exists, the process locale is the one of the
// environment, so the core reads and writes decimals with its separator.
// The toolkit's own words are Spanish too.

#include "store/Texto.h"
#include "ui/ServicioDialogos.h"

#include <QApplication>
#include <QTest>

#include <clocale>
#include <locale.h>
#include <string>

namespace {

// What the core saw right after the application object was created.
char separadorAlIniciar = '?';
std::string textoAlIniciar;
std::optional<long double> leidoAlIniciar;

bool hayLocaleArgentino() {
    locale_t prueba = newlocale(LC_NUMERIC_MASK, "es_AR.UTF-8", static_cast<locale_t>(0));
    if (prueba == static_cast<locale_t>(0)) return false;
    freelocale(prueba);
    return true;
}

}  // namespace

class PruebaRegional : public QObject {
    Q_OBJECT

private slots:
    void elSeparadorEsElDelEscritorio() {
        if (!hayLocaleArgentino()) QSKIP("es_AR.UTF-8 no está instalado");
        QCOMPARE(separadorAlIniciar, ',');
        QCOMPARE(textoAlIniciar, std::string("12,5"));
        QVERIFY(leidoAlIniciar.has_value());
        QCOMPARE(static_cast<double>(*leidoAlIniciar), 1500.25);
    }

    // What Qt's own dialogs and boxes show a person.
    void lasPalabrasDeQtEnEspanol() {
        QVERIFY2(traducirQtAlEspanol(), "faltan las traducciones de Qt (qt6-translations-l10n)");
        QCOMPARE(QCoreApplication::translate("QAbstractFileIconProvider", "Folder", "All other platforms"),
                 QStringLiteral("Carpeta"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancelar"));
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // A desktop set to Argentina. The process itself starts, as every
    // process does, in the "C" locale.
    qputenv("LC_ALL", "es_AR.UTF-8");
    QApplication aplicacion(argc, argv);
    separadorAlIniciar = separadorDecimal();
    textoAlIniciar = textoGeneral(12.5L);
    leidoAlIniciar = leerDecimal("1500,25");
    PruebaRegional prueba;
    return QTest::qExec(&prueba, argc, argv);
}

#include "regional_test.moc"
