// 255 teams submit their decisions to the portal at the same moment, over
// loopback: how long each one waits for its answer (the 99th percentile is
// the figure to watch). The portal runs on its own thread's event loop, as
// it runs on the window's; the teams are sockets on this thread.
//
// The game folder is on a RAM folder by default (CORVELIAN_BENCH_DIR picks
// another) and, in the "EnDisco" variant, on the disk (/var/tmp or
// CORVELIAN_BENCH_DISCO), where every submission's sync reaches the disk.

#include "juego/Juego.h"
#include "portal/Portal.h"
#include "store/CarpetaDatos.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <memory>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Reloj = std::chrono::steady_clock;

constexpr int kEquipos = 255;

fs::path raiz(bool disco) {
    const char* elegida = std::getenv(disco ? "CORVELIAN_BENCH_DISCO" : "CORVELIAN_BENCH_DIR");
    if (elegida) return elegida;
    if (!disco && fs::is_directory("/dev/shm")) return "/dev/shm";
    if (disco && fs::is_directory("/var/tmp")) return "/var/tmp";
    return fs::temp_directory_path();
}

/// The portal on its own thread and event loop.
class THiloPortal : public QThread {
public:
    explicit THiloPortal(fs::path carpeta) : carpeta_(std::move(carpeta)) {}
    quint16 esperarPuerto() { return puerto_.get_future().get(); }

protected:
    void run() override {
        TJuego juego(carpeta_);
        TPortal portal(juego);
        try {
            puerto_.set_value(portal.iniciar(QHostAddress::LocalHost, 0));
        } catch (...) {
            puerto_.set_exception(std::current_exception());
            return;
        }
        exec();
        portal.detener();
    }

private:
    fs::path carpeta_;
    std::promise<quint16> puerto_;
};

/// One request on a connection made beforehand; done once the whole answer is in.
struct TPedido {
    std::unique_ptr<QTcpSocket> socket;
    QByteArray recibido;
    Reloj::time_point enviado, respondido;
    bool listo = false;
    int estado = 0;
};

bool respuestaCompleta(TPedido& p) {
    const qsizetype fin = p.recibido.indexOf("\r\n\r\n");
    if (fin < 0) return false;
    const auto largo = QRegularExpression(QStringLiteral("(?i)content-length:\\s*(\\d+)"))
                           .match(QString::fromLatin1(p.recibido.left(fin)));
    const qsizetype cuerpo = largo.hasMatch() ? largo.captured(1).toLongLong() : 0;
    if (p.recibido.size() < fin + 4 + cuerpo) return false;
    p.estado = p.recibido.mid(9, 3).toInt();
    return true;
}

/// Sends every request at once on connections opened first, and waits for
/// every answer; returns each one's time in milliseconds.
std::vector<double> todosALaVez(quint16 puerto, const std::vector<QByteArray>& pedidos) {
    std::vector<TPedido> enCurso(pedidos.size());
    QEventLoop bucle;
    int conectados = 0, respondidos = 0;
    for (std::size_t i = 0; i < pedidos.size(); ++i) {
        TPedido& p = enCurso[i];
        p.socket = std::make_unique<QTcpSocket>();
        QObject::connect(p.socket.get(), &QTcpSocket::connected, [&] {
            if (++conectados == static_cast<int>(pedidos.size())) bucle.quit();
        });
        QObject::connect(p.socket.get(), &QTcpSocket::readyRead, [&, i] {
            TPedido& q = enCurso[i];
            q.recibido += q.socket->readAll();
            if (!q.listo && respuestaCompleta(q)) {
                q.listo = true;
                q.respondido = Reloj::now();
                if (++respondidos == static_cast<int>(pedidos.size())) bucle.quit();
            }
        });
        p.socket->connectToHost(QHostAddress::LocalHost, puerto);
    }
    QTimer::singleShot(60000, &bucle, &QEventLoop::quit);
    bucle.exec();
    for (std::size_t i = 0; i < pedidos.size(); ++i) {
        enCurso[i].enviado = Reloj::now();
        enCurso[i].socket->write(pedidos[i]);
    }
    bucle.exec();
    std::vector<double> tiempos;
    for (const TPedido& p : enCurso) {
        if (!p.listo || p.estado != 303) throw std::runtime_error("un envío no fue aceptado");
        tiempos.push_back(std::chrono::duration<double, std::milli>(p.respondido - p.enviado).count());
    }
    return tiempos;
}

QByteArray pedido(const QByteArray& metodo, const QByteArray& ruta, const QByteArray& cookie, const QByteArray& cuerpo) {
    QByteArray texto = metodo + " " + ruta + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n";
    if (!cookie.isEmpty()) texto += "Cookie: " + cookie + "\r\n";
    if (metodo == "POST")
        texto += "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
                 QByteArray::number(cuerpo.size()) + "\r\n";
    return texto + "\r\n" + cuerpo;
}

/// One request and its whole answer, for the logins before the measurement.
QByteArray unPedido(quint16 puerto, const QByteArray& texto) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, puerto);
    QByteArray recibido;
    TPedido p;
    QEventLoop bucle;
    QObject::connect(&socket, &QTcpSocket::connected, [&] { socket.write(texto); });
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] {
        p.recibido += socket.readAll();
        if (respuestaCompleta(p)) bucle.quit();
    });
    QTimer::singleShot(20000, &bucle, &QEventLoop::quit);
    bucle.exec();
    return p.recibido;
}

void enviosALaVez(benchmark::State& state, bool disco) {
    const fs::path carpeta = raiz(disco) / ("corvelian-bench-portal-" + std::to_string(::getpid()));
    fs::remove_all(carpeta);
    fs::create_directories(carpeta);
    TJuego juego(carpeta);
    std::vector<std::string> equipos;
    for (int i = 1; i <= kEquipos; ++i) equipos.push_back("Empresa " + std::to_string(i));
    juego.crearJuego(equipos, ejemploDatosIniciales());
    juego.correrPeriodo0(ejemploPeriodo0());
    const auto codigos = juego.codigosDeAcceso();

    THiloPortal hilo(carpeta);
    hilo.start();
    const quint16 puerto = hilo.esperarPuerto();

    // Every team logs in first and reads its form, as it would before deciding.
    std::vector<QByteArray> envios;
    for (int i = 0; i < kEquipos; ++i) {
        const QByteArray entrada = unPedido(puerto, pedido("POST", "/entrar", {}, "codigo=" + QByteArray::fromStdString(codigos[i].codigo)));
        const auto galleta = QRegularExpression(QStringLiteral("sesion=[0-9a-f]+")).match(QString::fromLatin1(entrada));
        if (!galleta.hasMatch()) {
            state.SkipWithError("no se pudo entrar");
            break;
        }
        const QByteArray cookie = galleta.captured(0).toLatin1();
        const QByteArray pagina = unPedido(puerto, pedido("GET", "/decisiones", cookie, {}));
        const auto csrf = QRegularExpression(QStringLiteral("name=\"csrf\" value=\"([0-9a-f]+)\"")).match(QString::fromLatin1(pagina));
        const QByteArray cuerpo = "csrf=" + csrf.captured(1).toLatin1() + "&periodo=1&precio=" + QByteArray::number(60 + i % 40) +
                                  "&nivelProduccion=50&capacitacion=2000&marketing=1000&invYDes=1000&invPlanta=0"
                                  "&pedPrestamoA=10000&pedPrestamoB=0&devPrestamoA=0&devPrestamoB=0";
        envios.push_back(pedido("POST", "/decisiones", cookie, cuerpo));
    }

    std::vector<double> todos;
    for (auto _ : state) {
        const auto inicio = Reloj::now();
        auto tiempos = todosALaVez(puerto, envios);
        state.SetIterationTime(std::chrono::duration<double>(Reloj::now() - inicio).count());
        todos.insert(todos.end(), tiempos.begin(), tiempos.end());
    }
    hilo.quit();
    hilo.wait();
    if (!todos.empty()) {
        std::sort(todos.begin(), todos.end());
        const auto percentil = [&](double p) { return todos[std::min(todos.size() - 1, std::size_t(p * double(todos.size())))]; };
        state.counters["p50_ms"] = percentil(0.50);
        state.counters["p99_ms"] = percentil(0.99);
        state.counters["max_ms"] = todos.back();
    }
    fs::remove_all(carpeta);
}

void BM_Portal255EnviosALaVez(benchmark::State& state) { enviosALaVez(state, false); }
void BM_Portal255EnviosALaVezEnDisco(benchmark::State& state) { enviosALaVez(state, true); }

}  // namespace

BENCHMARK(BM_Portal255EnviosALaVez)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_Portal255EnviosALaVezEnDisco)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) {
    QCoreApplication aplicacion(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
