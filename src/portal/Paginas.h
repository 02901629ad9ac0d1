#pragma once
// The portal's pages: plain HTML in Spanish with its style inline, readable
// on a phone, with nothing fetched from elsewhere. Every text that comes
// from the game or from a request is escaped here.

#include "juego/AvisosDecision.h"
#include "store/Registros.h"

#include <QByteArray>
#include <QMap>
#include <QString>

#include <optional>
#include <string>
#include <vector>

/// Text made safe to place in HTML, inside elements and quoted attributes.
QString escaparHtml(const QString& texto);
/// A game text (Windows-1252) as escaped HTML.
QString escapar1252(const std::string& texto1252);
/// A game text (Windows-1252) as it reads, unescaped.
QString texto1252(const std::string& texto1252);

/// The fields of an application/x-www-form-urlencoded body ("+" is a blank);
/// a field given twice keeps its first value, and repetido (when given)
/// receives the name of the first such field, empty when there is none.
QMap<QString, QString> leerFormulario(const QByteArray& cuerpo, QString* repetido = nullptr);

/// A whole page: the title and the body's HTML.
QByteArray pagina(const QString& titulo, const QString& cuerpo);

/// The login page, with an error (plain text) when there is one.
QByteArray paginaEntrada(const QString& error = {});

/// A report (Windows-1252, CR LF) as preformatted text.
QString bloqueReporte(const std::string& bytes1252);

/// A report in a box of its own that scrolls sideways, so that the page
/// keeps a phone's width, with a hint saying so and the link to its PDF
/// (none when pdf is empty).
QString recuadroReporte(const std::string& bytes1252, const QString& pdf);

/// How the decision screens name a field in a sentence ("el precio"), for
/// the messages beside the fields.
QString nombreDelCampo(const char* columna);

/// What the decisions page shows.
struct TVistaDecisiones {
    std::string empresa;                 ///< Windows-1252
    int periodo = 0;                     ///< open for decisions; 0 when none is
    QString motivoCerrado;               ///< why none is open
    QMap<QString, QString> valores;      ///< the fields as shown, by name
    bool enviado = false;                ///< the team has a submission for this period
    QString error;                       ///< a refusal to show, plain text
    QMap<QString, QString> erroresCampo; ///< per field name, why its value is refused
    QString nota;                        ///< where the values shown come from, when not the team's own
    QString plazo;                       ///< "hasta las HH:MM" when the period has a deadline
    QString csrf;
    std::vector<int> periodosConReportes;
    std::string bancoA = "A", bancoB = "B";  ///< the banks' names, Windows-1252
    /// What each bank still lends the team and the warnings on the
    /// decisions shown, when they could be worked out (the team's own only).
    std::optional<TCreditoRestante> credito;
    std::vector<TAvisoDecision> avisos;
};

QByteArray paginaDecisiones(const TVistaDecisiones& vista);

/// The fields of the form, by name, from a decision record.
QMap<QString, QString> valoresDe(const TRegDecision& decision);
