#pragma once
// The game folder's lock, held by one operation of TJuego for its whole
// duration. An operation that only reads takes a TBloqueoLectura (shared), one
// that changes a game file a TBloqueoEscritura (exclusive); the helpers of
// TJuego that read the game's files take a TBloqueoJuego, and those that
// write them a TBloqueoEscritura, so none can be called without the lock.
//
// Writers go first: a writer holds the folder's turn file while it waits for
// the lock, and a reader takes the lock only through the turn, so once a
// change waits no new reader starts and the change runs as soon as the
// readers in progress finish. A writer waits up to half a second for readers
// (a read takes milliseconds) and is refused with ErrorJuegoEnUso after a fifth
// of a second while another change holds or waits for the game; a reader
// waits up to two seconds, as a run takes a fraction of one. Two game objects
// of one program exclude each other as two programs do. Taking the lock first
// finishes or undoes a change that was interrupted, and tells the game's
// notifier which. A folder without a game is read without creating a lock
// file in it, and a folder this program may not write is read unlocked.

class TCarpeta;
class TJuego;

/// A lock held on the game folder, shared or exclusive.
class TBloqueoJuego {
public:
    ~TBloqueoJuego() { soltar(); }
    TBloqueoJuego(const TBloqueoJuego&) = delete;
    TBloqueoJuego& operator=(const TBloqueoJuego&) = delete;

protected:
    /// A folder without a game gets no lock file unless aunSinJuego: a
    /// refusal there leaves the folder exactly as it was.
    TBloqueoJuego(const TJuego& juego, bool exclusivo, bool aunSinJuego);

private:
    /// False for a folder this program may only read: it is read unlocked.
    bool tomar(bool exclusivo);
    void tomarLectura();
    void tomarEscritura();
    void recuperarCambioInterrumpido(const TJuego& juego, bool exclusivo);
    void soltar();

    const TCarpeta& carpeta_;
    int descriptor_ = -1;
};

/// The shared lock of an operation that only reads the game.
class TBloqueoLectura final : public TBloqueoJuego {
public:
    explicit TBloqueoLectura(const TJuego& juego) : TBloqueoJuego(juego, false, false) {}
};

/// Asks for the lock of a game being set up: a folder without a game gets
/// its lock file too.
struct TPreparandoJuego {};

/// The exclusive lock of an operation that changes the game.
class TBloqueoEscritura final : public TBloqueoJuego {
public:
    explicit TBloqueoEscritura(const TJuego& juego) : TBloqueoJuego(juego, true, false) {}
    TBloqueoEscritura(const TJuego& juego, TPreparandoJuego) : TBloqueoJuego(juego, true, true) {}
};
