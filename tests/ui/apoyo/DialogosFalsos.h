#pragma once
// A scripted dialog service for window tests: it records every box it is
// asked to show and answers from a queue prepared by the test.

#include "ui/ServicioDialogos.h"

#include <QPrinter>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>

class DialogosFalsos final : public ServicioDialogos {
public:
    struct Caja {
        QString titulo;
        QString texto;
        Icono icono;
        Botones botones;
    };

    DialogosFalsos() { fijarDialogos(this); }
    ~DialogosFalsos() override { fijarDialogos(nullptr); }

    /// Answers for the next message boxes, in order; when the queue is empty
    /// a box is answered as Enter would: OK, Yes, or No where No is the default.
    std::deque<Respuesta> respuestas;
    /// Answers for the next input boxes; nullopt cancels the box.
    std::deque<std::optional<QString>> textos;

    /// Answers for the next folder choosers; nullopt cancels, none left cancels.
    std::deque<std::optional<QString>> carpetas;
    QStringList titulosCarpeta;   ///< captions of the folder choosers shown

    QList<Caja> cajas;            ///< every message box shown, in order
    /// Run while a message box is "open", as a real box's event loop would.
    std::function<void()> mientrasSeMuestra;
    QStringList entradas;         ///< prompts of the input boxes shown
    QStringList carpetasAbiertas; ///< folders sent to the file browser
    int acercaDeMostrado = 0;
    QString tituloAcercaDe;       ///< caption and text of the last about box
    QString textoAcercaDe;

    Respuesta mensaje(QWidget*, const QString& titulo, const QString& texto, Icono icono, Botones botones) override {
        cajas.append({titulo, texto, icono, botones});
        if (mientrasSeMuestra) mientrasSeMuestra();
        if (!respuestas.empty()) {
            Respuesta r = respuestas.front();
            respuestas.pop_front();
            return r;
        }
        if (botones == Botones::siNoPorOmisionNo) return Respuesta::no;
        return botones == Botones::siNo ? Respuesta::si : Respuesta::ok;
    }

    std::optional<QString> pedirTexto(QWidget*, const QString&, const QString& etiqueta,
                                      const QString& porDefecto) override {
        entradas.append(etiqueta);
        if (textos.empty()) return porDefecto;
        // Built member by member: copying the optional whole trips a false
        // "may be used uninitialized" warning of g++ 12.
        const bool cancelada = !textos.front().has_value();
        const QString texto = textos.front().value_or(QString());
        textos.pop_front();
        if (cancelada) return std::nullopt;
        return texto;
    }

    std::optional<QString> pedirCarpeta(QWidget*, const QString& titulo, const QString&) override {
        titulosCarpeta.append(titulo);
        if (carpetas.empty()) return std::nullopt;
        const bool cancelada = !carpetas.front().has_value();
        const QString carpeta = carpetas.front().value_or(QString());
        carpetas.pop_front();
        if (cancelada) return std::nullopt;
        return carpeta;
    }

    void acercaDe(QWidget*, const QString& titulo, const QString& texto) override {
        ++acercaDeMostrado;
        tituloAcercaDe = titulo;
        textoAcercaDe = texto;
    }
    /// The print dialog sends the pages to this PDF file; empty cancels it.
    QString archivoImpresion;
    int dialogosImpresion = 0;
    bool configurarImpresora(QWidget*, QPrinter& impresora) override {
        ++dialogosImpresion;
        if (archivoImpresion.isEmpty()) return false;
        impresora.setOutputFormat(QPrinter::PdfFormat);
        impresora.setOutputFileName(archivoImpresion);
        return true;
    }
    void abrirCarpeta(const QString& carpeta) override { carpetasAbiertas.append(carpeta); }

    /// Answers for the next save-file dialogs; nullopt (or none left) cancels.
    std::deque<std::optional<QString>> archivos;
    QStringList archivosSugeridos;  ///< starting path of each save-file dialog shown
    QList<QStringList> filtrosDeArchivo;

    std::optional<QString> pedirArchivoParaGuardar(QWidget*, const QString&, const QString& sugerido,
                                                   const QStringList& filtros) override {
        archivosSugeridos.append(sugerido);
        filtrosDeArchivo.append(filtros);
        if (archivos.empty()) return std::nullopt;
        const bool cancelado = !archivos.front().has_value();
        const QString archivo = archivos.front().value_or(QString());
        archivos.pop_front();
        if (cancelado) return std::nullopt;
        return archivo;
    }

    /// Answers for the next open-file dialogs; nullopt (or none left) cancels.
    std::deque<std::optional<QString>> archivosElegidos;
    QStringList dialogosArchivo;  ///< captions of the open-file dialogs shown
    std::optional<QString> elegirArchivoAbrir(QWidget*, const QString& titulo, const QString&) override {
        dialogosArchivo.append(titulo);
        if (archivosElegidos.empty()) return std::nullopt;
        const bool cancelado = !archivosElegidos.front().has_value();
        const QString archivo = archivosElegidos.front().value_or(QString());
        archivosElegidos.pop_front();
        if (cancelado) return std::nullopt;
        return archivo;
    }

    /// Answers for the next choice lists; nullopt cancels; none left takes
    /// the option shown first.
    std::deque<std::optional<QString>> elecciones;
    QList<QStringList> opcionesMostradas;
    std::optional<QString> elegirOpcion(QWidget*, const QString&, const QString&, const QStringList& opciones,
                                        int actual) override {
        opcionesMostradas.append(opciones);
        if (elecciones.empty()) return opciones.value(actual);
        const bool cancelada = !elecciones.front().has_value();
        const QString eleccion = elecciones.front().value_or(QString());
        elecciones.pop_front();
        if (cancelada) return std::nullopt;
        return eleccion;
    }

    /// A box as "title|text|icon|buttons", to compare whole boxes at once.
    static QString comoTexto(const QString& titulo, const QString& texto, Icono icono, Botones botones) {
        return titulo + QLatin1Char('|') + texto + QLatin1Char('|') + QString::number(static_cast<int>(icono)) +
               QLatin1Char('|') + QString::number(static_cast<int>(botones));
    }
    /// The boxes shown so far, each as comoTexto puts it.
    QStringList cajasComoTexto() const {
        QStringList t;
        for (const auto& c : cajas) t.append(comoTexto(c.titulo, c.texto, c.icono, c.botones));
        return t;
    }
    /// Texts of the boxes shown so far.
    QStringList textosMostrados() const {
        QStringList t;
        for (const auto& c : cajas) t.append(c.texto);
        return t;
    }
};
