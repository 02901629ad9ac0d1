#pragma once
// A change of the game folder that happens whole or not at all.
//
// Everything a run, a step back or a new game produces is first written as
// new files in the staging folder "TRANSACCION.TMP" inside the game folder,
// each one synced. Then the journal "TRANSACCION.DAT" is written atomically:
// it lists the renames and removals that switch the game over, and its
// arrival is the commit point. The switch follows the journal; when it is
// interrupted, the next opening of the game (recuperarTransaccion) finishes
// it from the journal, and a staging folder without a journal (a change
// interrupted before its commit point) is simply removed, so the game stays
// exactly as it was. Every step of the switch can be repeated safely.
//
// Names are relative to the game folder, in the file system's encoding.

#include "store/NombresArchivos.h"
#include "store/CarpetaDatos.h"

#include <set>
#include <string>
#include <vector>

class TTransaccion {
public:
    /// Starts a change; an interrupted one is first finished or undone.
    /// comoAntes and comoDespues are what the user is told (UTF-8, one line)
    /// when an interruption of this change is undone or completed, e.g. "La
    /// última simulación se interrumpió; el juego quedó como antes del
    /// período 4." and "… se interrumpió y se completó: …".
    TTransaccion(const TCarpeta& carpeta, std::string comoAntes, std::string comoDespues);
    /// Without confirmar() nothing changes, and the staged files are removed.
    ~TTransaccion();
    TTransaccion(const TTransaccion&) = delete;
    TTransaccion& operator=(const TTransaccion&) = delete;

    /// Stages the whole new content of a file of the game folder.
    void escribir(const std::string& nombre, const std::string& bytes);
    /// Stages a second name for a file already staged (the history keeps the
    /// reports as links, so a report is written once).
    void enlazar(const std::string& escrito, const std::string& nombre);
    /// The file (or link) is removed from the game folder (when the change
    /// writes it anew too, the new file simply takes its place).
    void eliminar(const std::string& nombre);
    /// An existing file of the game folder takes the place of another one.
    void renombrar(const std::string& de, const std::string& a);
    /// The folder staged under this name replaces the one in the game folder
    /// (whatever was in it goes); files staged inside it go with it.
    void reemplazarCarpeta(const std::string& carpeta);
    /// A folder of the game folder is moved aside under a new name.
    void apartarCarpeta(const std::string& carpeta, const std::string& destino);

    /// Checks that every target can be replaced, writes the journal (the
    /// commit point) and switches the game over. A failure before the journal
    /// leaves the game as it was and is raised. After it the change has
    /// happened: a failure then is not raised but returned as a warning for
    /// the user (UTF-8), and the switch is finished on the next opening.
    /// Empty when the disk confirmed every step.
    [[nodiscard]] std::string confirmar();

private:
    /// Makes room for a staged file and notes it.
    void preparar(const std::string& nombre);

    struct Paso {
        char tipo;  // R rename, E remove, C replace folder, M move folder aside
        std::string de, a;
    };
    TCarpeta carpeta_;
    std::string comoAntes_, comoDespues_;
    /// The switch's steps in the order they run: folders moved aside, removals,
    /// then the files and folders that take their places.
    std::vector<Paso> pasosEnOrden() const;

    std::vector<Paso> pasos_;
    std::vector<std::string> escritos_;
    std::set<std::string> nombresEscritos_;
    std::set<std::string> carpetasPreparadas_;
    bool confirmada_ = false;
};


/// Finishes a change that reached its commit point, or removes the staged
/// files of one that did not. Returns what happened, for the user (UTF-8:
/// "La última operación se interrumpió; ..."), or an empty text when there
/// was nothing to do. A damaged journal is an ErrorArchivo.
std::string recuperarTransaccion(const TCarpeta& carpeta);

/// True when a change was interrupted and recuperarTransaccion has work.
bool hayTransaccionPendiente(const TCarpeta& carpeta);
