#include "store/Notificador.h"

namespace {

class TNotificadorSilencioso final : public TNotificador {
public:
    void advertencia(const std::string&, const std::string&) override {}
    void informacion(const std::string&) override {}
    void habilitarPeriodo(int, bool) override {}
    void cambiarPeriodoActual(int) override {}
    void abrirCarpeta(const std::filesystem::path&) override {}
};

TNotificadorSilencioso silencioso;
TNotificador* actual = &silencioso;

}  // namespace

TNotificador& notificador() { return *actual; }

void fijarNotificador(TNotificador* nuevo) { actual = nuevo ? nuevo : &silencioso; }
