#include "ui/ServicioDialogos.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTranslator>
#include <QUrl>

#include <utility>

namespace {

class DialogosQt final : public ServicioDialogos {
public:
    Respuesta mensaje(QWidget* padre, const QString& titulo, const QString& texto, Icono icono,
                      Botones botones) override {
        QMessageBox caja(padre);
        caja.setWindowTitle(titulo);
        caja.setText(texto);
        switch (icono) {
        case Icono::ninguno: caja.setIcon(QMessageBox::NoIcon); break;
        case Icono::informacion: caja.setIcon(QMessageBox::Information); break;
        case Icono::advertencia: caja.setIcon(QMessageBox::Warning); break;
        case Icono::pregunta: caja.setIcon(QMessageBox::Question); break;
        }
        switch (botones) {
        case Botones::ok: caja.setStandardButtons(QMessageBox::Ok); break;
        case Botones::okCancelar: caja.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        case Botones::siNo:
            caja.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            caja.setDefaultButton(QMessageBox::Yes);
            break;
        case Botones::siNoPorOmisionNo:
            caja.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            caja.setDefaultButton(QMessageBox::No);
            break;
        }
        // The game speaks Spanish whatever translations the desktop's Qt has.
        for (auto [boton, texto] : {std::pair{QMessageBox::Ok, "Aceptar"}, std::pair{QMessageBox::Cancel, "Cancelar"},
                                    std::pair{QMessageBox::Yes, "Sí"}, std::pair{QMessageBox::No, "No"}})
            if (QAbstractButton* b = caja.button(boton)) b->setText(QString::fromUtf8(texto));
        switch (caja.exec()) {
        case QMessageBox::Ok: return Respuesta::ok;
        case QMessageBox::Yes: return Respuesta::si;
        case QMessageBox::No: return Respuesta::no;
        default: return botones == Botones::okCancelar ? Respuesta::cancelar : Respuesta::no;
        }
    }

    std::optional<QString> pedirTexto(QWidget* padre, const QString& titulo, const QString& etiqueta,
                                      const QString& porDefecto) override {
        QInputDialog entrada(padre);
        entrada.setWindowTitle(titulo);
        entrada.setLabelText(etiqueta);
        entrada.setTextValue(porDefecto);
        entrada.setOkButtonText(QStringLiteral("Aceptar"));
        entrada.setCancelButtonText(QStringLiteral("Cancelar"));
        if (entrada.exec() != QDialog::Accepted) return std::nullopt;
        return entrada.textValue();
    }

    std::optional<QString> elegirOpcion(QWidget* padre, const QString& titulo, const QString& etiqueta,
                                        const QStringList& opciones, int actual) override {
        QInputDialog entrada(padre);
        entrada.setWindowTitle(titulo);
        entrada.setLabelText(etiqueta);
        entrada.setComboBoxItems(opciones);
        entrada.setComboBoxEditable(false);
        entrada.setTextValue(opciones.value(actual));
        entrada.setOkButtonText(QStringLiteral("Aceptar"));
        entrada.setCancelButtonText(QStringLiteral("Cancelar"));
        if (entrada.exec() != QDialog::Accepted) return std::nullopt;
        return entrada.textValue();
    }

    std::optional<QString> pedirCarpeta(QWidget* padre, const QString& titulo, const QString& inicial) override {
        const QString carpeta = QFileDialog::getExistingDirectory(padre, titulo, inicial);
        if (carpeta.isEmpty()) return std::nullopt;
        return carpeta;
    }

    void acercaDe(QWidget* padre, const QString& titulo, const QString& texto) override {
        QMessageBox::about(padre, titulo, texto);
    }

    bool configurarImpresora(QWidget* padre, QPrinter& impresora) override {
        QPrintDialog dialogo(&impresora, padre);
        dialogo.setWindowTitle(QStringLiteral("Imprimir"));
        return dialogo.exec() == QDialog::Accepted;
    }

    void abrirCarpeta(const QString& carpeta) override {
        QDesktopServices::openUrl(QUrl::fromLocalFile(carpeta));
    }

    std::optional<QString> pedirArchivoParaGuardar(QWidget* padre, const QString& titulo, const QString& sugerido,
                                                   const QStringList& filtros) override {
        QFileDialog dialogo(padre, titulo, sugerido);
        dialogo.setAcceptMode(QFileDialog::AcceptSave);
        dialogo.setNameFilters(filtros);
        // A name typed without an extension gets the one of the first filter.
        dialogo.setDefaultSuffix(QFileInfo(sugerido).suffix());
        dialogo.setLabelText(QFileDialog::Accept, QStringLiteral("Guardar"));
        dialogo.setLabelText(QFileDialog::Reject, QStringLiteral("Cancelar"));
        if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) return std::nullopt;
        return dialogo.selectedFiles().constFirst();
    }

    std::optional<QString> elegirArchivoAbrir(QWidget* padre, const QString& titulo,
                                              const QString& filtro) override {
        const QString archivo = QFileDialog::getOpenFileName(padre, titulo, QString(), filtro);
        if (archivo.isEmpty()) return std::nullopt;
        return archivo;
    }
};

DialogosQt qt;
ServicioDialogos* actual = &qt;

}  // namespace

ServicioDialogos& dialogos() { return *actual; }

void fijarDialogos(ServicioDialogos* servicio) { actual = servicio ? servicio : &qt; }

void mostrarMensaje(QWidget* padre, const QString& texto) {
    dialogos().mensaje(padre, QString(), texto, ServicioDialogos::Icono::ninguno, ServicioDialogos::Botones::ok);
}

namespace {

/// The words of the file dialogs' "Type" column, which Qt 6 asks under a
/// name its Spanish file does not have yet (it still files them under Qt 5's).
class TPalabrasDeArchivos final : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* contexto, const char* fuente, const char*, int) const override {
        if (qstrcmp(contexto, "QAbstractFileIconProvider") != 0) return {};
        static const std::pair<const char*, const char*> palabras[] = {
            {"Folder", "Carpeta"}, {"File Folder", "Carpeta de archivos"}, {"Drive", "Unidad"},
            {"Shortcut", "Acceso directo"}, {"Unknown", "Desconocido"}};
        for (const auto& [ingles, espanol] : palabras)
            if (qstrcmp(fuente, ingles) == 0) return QString::fromUtf8(espanol);
        return {};
    }
};

}  // namespace

bool traducirQtAlEspanol() {
    // Owned by the application: they must live as long as the texts they give.
    auto* traduccion = new QTranslator(QCoreApplication::instance());
    if (!traduccion->load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(traduccion)) {
        delete traduccion;
        return false;
    }
    QCoreApplication::installTranslator(new TPalabrasDeArchivos(QCoreApplication::instance()));
    return true;
}
