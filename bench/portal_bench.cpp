// The portal as a class meets it, over loopback. 255 teams at the same
// moment, each on new connections as a phone makes them: logs in, reads
// its form and sends its decisions; how long each request waits for its
// whole answer, connection included (the median and the 99th percentile
// are the figures to watch, of all requests and of each step; every
// submission's line is appended to the register before it is answered).
// And one team reading its form while 1,000 idle connections are held open.
// The portal's clock moves a second between rounds: a team submits at most
// once a second.
//
// The portal serves on its own threads, as in the window; the teams are
// non-blocking sockets on this thread. The game folder is on a RAM folder
// by default (CORVELIAN_BENCH_DIR picks another) and, in the "EnDisco"
// variant, on the disk (/var/tmp or CORVELIAN_BENCH_DISCO), where every
// batch of submissions is synced to the disk.

#include "juego/Juego.h"
#include "portal/Portal.h"
#include "portal/Sesiones.h"
#include "store/CarpetaDatos.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QRegularExpression>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>

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

/// A new non-blocking connection to 127.0.0.1 from the loopback address desde.
int conectar(quint16 puerto, const std::string& desde) {
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_in local{}, destino{};
    local.sin_family = destino.sin_family = AF_INET;
    inet_pton(AF_INET, desde.c_str(), &local.sin_addr);
    destino.sin_port = htons(puerto);
    destino.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(s, reinterpret_cast<sockaddr*>(&local), sizeof local);
    ::connect(s, reinterpret_cast<sockaddr*>(&destino), sizeof destino);
    return s;
}

QByteArray pedido(const QByteArray& metodo, const QByteArray& ruta, const QByteArray& cookie, const QByteArray& cuerpo) {
    QByteArray texto = metodo + " " + ruta + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n";
    if (!cookie.isEmpty()) texto += "Cookie: " + cookie + "\r\n";
    if (metodo == "POST")
        texto += "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: " + QByteArray::number(cuerpo.size()) + "\r\n";
    return texto + "\r\n" + cuerpo;
}

/// One team: its code, the step it is at and the request in flight.
struct TEquipo {
    QByteArray codigo, cookie, csrf;
    int paso = 0;  // 0 login, 1 form, 2 submission, 3 done
    int socket = -1;
    QByteArray salida, recibido;
    Reloj::time_point inicio;
    int precio = 60;
};

QByteArray pedidoDelPaso(const TEquipo& e) {
    switch (e.paso) {
    case 0: return pedido("POST", "/entrar", {}, "codigo=" + e.codigo);
    case 1: return pedido("GET", "/decisiones", e.cookie, {});
    default:
        return pedido("POST", "/decisiones", e.cookie,
                      "csrf=" + e.csrf + "&periodo=1&precio=" + QByteArray::number(e.precio) +
                          "&nivelProduccion=50&capacitacion=2000&marketing=1000&invYDes=1000&invPlanta=0"
                          "&pedPrestamoA=10000&pedPrestamoB=0&devPrestamoA=0&devPrestamoB=0");
    }
}

void abrirPaso(TEquipo& e, quint16 puerto, int i) {
    e.inicio = Reloj::now();
    // Eight teams to an address: a team's next connection may arrive before
    // the portal has let go of its last one, and one address may hold 16.
    e.socket = conectar(puerto, "127.0.2." + std::to_string(1 + i / 8));
    e.salida = pedidoDelPaso(e);
    e.recibido.clear();
}

/// Takes what a whole answer gives the next step; false when it is not what was expected.
bool cerrarPaso(TEquipo& e) {
    const int estado = e.recibido.mid(9, 3).toInt();
    if (e.paso == 0) {
        const auto galleta = QRegularExpression(QStringLiteral("sesion=[0-9a-f]+")).match(QString::fromLatin1(e.recibido));
        e.cookie = galleta.captured(0).toLatin1();
        if (estado != 303 || e.cookie.isEmpty()) return false;
    } else if (e.paso == 1) {
        const auto csrf = QRegularExpression(QStringLiteral("name=\"csrf\" value=\"([0-9a-f]+)\"")).match(QString::fromUtf8(e.recibido));
        e.csrf = csrf.captured(1).toLatin1();
        if (estado != 200 || e.csrf.isEmpty()) return false;
    } else if (estado != 303) {
        return false;
    }
    return true;
}

using TTiempos = std::array<std::vector<double>, 3>;  // ms of each request, per step

/// Every team goes through its three steps at once; returns each request's time in ms.
TTiempos todosALaVez(quint16 puerto, std::vector<TEquipo>& equipos) {
    TTiempos tiempos;
    const int vigia = ::epoll_create1(EPOLL_CLOEXEC);
    const auto vigilar = [&](std::size_t i) {
        epoll_event evento{};
        evento.events = EPOLLIN | EPOLLOUT;
        evento.data.u64 = i;
        ::epoll_ctl(vigia, EPOLL_CTL_ADD, equipos[i].socket, &evento);
    };
    for (std::size_t i = 0; i < equipos.size(); ++i) {
        equipos[i].paso = 0;
        abrirPaso(equipos[i], puerto, int(i));
        vigilar(i);
    }
    const auto limite = Reloj::now() + std::chrono::seconds(60);
    std::vector<epoll_event> eventos(equipos.size());
    for (std::size_t faltan = equipos.size(); faltan > 0;) {
        if (Reloj::now() > limite) {
            ::close(vigia);
            throw std::runtime_error("el portal no respondió a tiempo");
        }
        const int listos = ::epoll_wait(vigia, eventos.data(), int(eventos.size()), 1000);
        for (int k = 0; k < listos; ++k) {
            const std::size_t i = eventos[k].data.u64;
            TEquipo& e = equipos[i];
            if ((eventos[k].events & EPOLLOUT) && !e.salida.isEmpty()) {
                const ssize_t n = ::send(e.socket, e.salida.constData(), size_t(e.salida.size()), MSG_NOSIGNAL);
                if (n > 0) e.salida.remove(0, n);
            }
            if (!(eventos[k].events & (EPOLLIN | EPOLLHUP | EPOLLERR))) continue;
            char trozo[16384];
            ssize_t n;
            while ((n = ::recv(e.socket, trozo, sizeof trozo, 0)) > 0) e.recibido.append(trozo, n);
            if (n < 0 && errno == EAGAIN) continue;
            // The portal closed: the answer is whole.
            ::close(e.socket);
            tiempos[std::size_t(e.paso)].push_back(std::chrono::duration<double, std::milli>(Reloj::now() - e.inicio).count());
            if (!cerrarPaso(e)) {
                ::close(vigia);
                throw std::runtime_error("respuesta inesperada (equipo " + std::to_string(i) + ", paso " + std::to_string(e.paso) + "): " + e.recibido.left(200).toStdString());
            }
            if (++e.paso < 3) {
                abrirPaso(e, puerto, int(i));
                vigilar(i);
            } else {
                --faltan;
            }
        }
    }
    ::close(vigia);
    return tiempos;
}

double percentil(std::vector<double>& tiempos, double p) {
    std::sort(tiempos.begin(), tiempos.end());
    return tiempos[std::min(tiempos.size() - 1, std::size_t(p * double(tiempos.size())))];
}

void ponerPercentiles(benchmark::State& state, std::vector<double> todos) {
    if (todos.empty()) return;
    state.counters["p50_ms"] = percentil(todos, 0.50);
    state.counters["p99_ms"] = percentil(todos, 0.99);
    state.counters["max_ms"] = todos.back();
}

/// A game of 255 teams with period 0 run and the portal open on loopback.
struct TJuegoDePrueba {
    explicit TJuegoDePrueba(bool disco)
        : carpeta(raiz(disco) / ("corvelian-bench-portal-" + std::to_string(::getpid()))), juego(preparar(carpeta)), portal(juego) {
        codigos = juego.codigosDeAcceso();
        portal.fijarReloj([this] { return Reloj::now() + desfase; });
        puerto = portal.iniciar(QHostAddress::LocalHost, 0);
    }
    ~TJuegoDePrueba() {
        portal.detener();
        fs::remove_all(carpeta);
    }
    static fs::path preparar(const fs::path& carpeta) {
        fs::remove_all(carpeta);
        fs::create_directories(carpeta);
        TJuego juego(carpeta);
        std::vector<std::string> equipos;
        for (int i = 1; i <= kEquipos; ++i) equipos.push_back("Empresa " + std::to_string(i));
        juego.crearJuego(equipos, ejemploDatosIniciales());
        juego.correrPeriodo0(ejemploPeriodo0());
        return carpeta;
    }
    /// The portal's clock, a second later each round.
    void otraRonda() { desfase += TSesiones::kEntreEnvios; }

    fs::path carpeta;
    TJuego juego;
    TPortal portal;
    Reloj::duration desfase{};
    std::vector<TCodigoEquipo> codigos;
    quint16 puerto = 0;
};

void equiposALaVez(benchmark::State& state, bool disco) {
    TJuegoDePrueba prueba(disco);
    std::vector<TEquipo> equipos(kEquipos);
    for (int i = 0; i < kEquipos; ++i) {
        equipos[i].codigo = QByteArray::fromStdString(prueba.codigos[i].codigo);
        equipos[i].precio = 60 + i % 40;
    }
    std::vector<double> todos;
    TTiempos porPaso;
    for (auto _ : state) {
        prueba.otraRonda();
        const auto inicio = Reloj::now();
        const TTiempos tiempos = todosALaVez(prueba.puerto, equipos);
        state.SetIterationTime(std::chrono::duration<double>(Reloj::now() - inicio).count());
        for (std::size_t paso = 0; paso < tiempos.size(); ++paso) {
            todos.insert(todos.end(), tiempos[paso].begin(), tiempos[paso].end());
            porPaso[paso].insert(porPaso[paso].end(), tiempos[paso].begin(), tiempos[paso].end());
        }
    }
    const char* nombres[] = {"p99_entrar_ms", "p99_formulario_ms", "p99_envio_ms"};
    for (std::size_t paso = 0; paso < porPaso.size(); ++paso)
        if (!porPaso[paso].empty()) state.counters[nombres[paso]] = percentil(porPaso[paso], 0.99);
    ponerPercentiles(state, std::move(todos));
}

void BM_Portal255EquiposALaVez(benchmark::State& state) { equiposALaVez(state, false); }
void BM_Portal255EquiposALaVezEnDisco(benchmark::State& state) { equiposALaVez(state, true); }

/// One team reads its form on new connections while 1,000 others sit idle.
void BM_PortalUnGetConMilConexionesQuietas(benchmark::State& state) {
    TJuegoDePrueba prueba(false);
    std::vector<int> quietas;
    for (int i = 0; i < 1000; ++i) quietas.push_back(conectar(prueba.puerto, "127.0.3." + std::to_string(1 + i / 16)));
    std::vector<TEquipo> uno(1);
    uno[0].codigo = QByteArray::fromStdString(prueba.codigos[0].codigo);
    std::vector<double> todos;
    for (auto _ : state) {
        const auto inicio = Reloj::now();
        uno[0].paso = 1;
        if (uno[0].cookie.isEmpty()) {
            todosALaVez(prueba.puerto, uno);
            uno[0].paso = 1;
        }
        abrirPaso(uno[0], prueba.puerto, 0);
        pollfd vigilado{uno[0].socket, POLLOUT, 0};
        ::poll(&vigilado, 1, 5000);
        ::send(uno[0].socket, uno[0].salida.constData(), size_t(uno[0].salida.size()), MSG_NOSIGNAL);
        fcntl(uno[0].socket, F_SETFL, 0);
        char trozo[16384];
        for (ssize_t n; (n = ::recv(uno[0].socket, trozo, sizeof trozo, 0)) > 0;) uno[0].recibido.append(trozo, n);
        ::close(uno[0].socket);
        const double ms = std::chrono::duration<double, std::milli>(Reloj::now() - inicio).count();
        if (!cerrarPaso(uno[0])) state.SkipWithError("el formulario no llegó");
        state.SetIterationTime(ms / 1000);
        todos.push_back(ms);
    }
    for (int s : quietas) ::close(s);
    ponerPercentiles(state, std::move(todos));
}

}  // namespace

BENCHMARK(BM_Portal255EquiposALaVez)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_Portal255EquiposALaVezEnDisco)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_PortalUnGetConMilConexionesQuietas)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(300);

int main(int argc, char** argv) {
    // The portal's PDFs draw with Qt Gui; these requests never ask for one.
    QCoreApplication aplicacion(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
