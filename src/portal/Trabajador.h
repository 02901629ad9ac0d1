#pragma once
// The portal's worker: one thread with a game object of its own that stores
// the submissions and builds the PDFs the request threads leave it. What
// arrives while it works is stored together, under one lock and one flush
// of the disk, and every submission is written in the game's register. The
// connection of each task waits suspended until its answer is set.

#include "portal/Pedido.h"

#include "juego/Juego.h"

#include <QMap>
#include <QString>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <string>
#include <thread>
#include <vector>

class TPortal;
struct TDatosPortal;

/// A slow task left to the worker: a submission or a PDF to build.
struct TTarea {
    TPedido* pedido = nullptr;
    bool esPdf = false;
    std::string token, empresa, codigo;
    int periodo = 0;  // of the form (0 when it said none) or of the PDF
    QMap<QString, QString> valores;
    QMap<QString, QString> erroresCampo;
    QString motivo;  // refused before reaching the game
    int estadoRechazo = 400;
    TRegDecision decision{};
    std::chrono::system_clock::time_point momento;
};

class TTrabajador {
public:
    /// turnoJuego is held shared while a request thread reads the game and
    /// alone while the worker changes it.
    TTrabajador(TPortal& portal, TDatosPortal& datos, TJuego& juego, std::shared_mutex& turnoJuego);
    ~TTrabajador();

    void iniciar();
    /// Answers what waits, then ends the thread.
    void detener();
    /// Leaves a task to the worker and suspends its connection; while the
    /// portal stops, returns the answer to give at once instead.
    std::optional<TRespuesta> encolar(TTarea t);

private:
    void trabajar();
    template <class Cambio> auto conTurno(Cambio cambio);
    void reanudar(TTarea& t, TRespuesta r);
    TRespuesta rechazo(const TTarea& t, int estado, const QString& error);
    void guardarEnvios(std::vector<TTarea>& tareas);
    TAnotacionEnvio anotacionDe(const TTarea& t) const;
    static TRespuesta noGuardado(const std::exception& e);
    TRespuesta respuestaDeEnvio(const TTarea& t, const TRespuestaEnvio& resultado);
    bool anotar();
    TRespuesta construirPdf(const TTarea& t);

    TPortal& portal_;
    TDatosPortal& datos_;
    std::shared_mutex& turnoJuego_;
    TJuego juego_;  // the worker's thread only
    std::thread hilo_;
    std::mutex colaM_;
    std::condition_variable colaCv_;
    std::deque<TTarea> cola_;
    bool fin_ = false;
    std::vector<TAnotacionEnvio> pendientesDeAnotar_;  // the worker's
};
