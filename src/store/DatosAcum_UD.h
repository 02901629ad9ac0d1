#pragma once
// TDatosAcum: the company results, "DATOS ACUMULADOS.DAT", one 104-byte
// record per active company; company i (counted from 1) is record i - 1.
// Also the period checkpoint: the copies of the three files a period run
// rewrites, taken before the run so that the game master can undo it.
//
// File errors raise ErrorArchivo; a failed read leaves the output unchanged.

#include "store/Registros.h"

#include <cstdint>
#include <vector>

class TDatosAcum {
public:
    /// Writes company indice's record (from 1); creates the file when missing.
    void guardarAcum(uint8_t indice, const TRegDatosAcum& r);
    /// Reads company indice's record (from 1); missing file or record is an error.
    void leerAcum(uint8_t indice, TRegDatosAcum& r);
    /// Removes company indice's record (from 1): the later records move one
    /// place towards the start and the file loses its last record.
    void eliminarAcum(uint8_t indice);
    /// Number of whole records in the file; 0 when it is missing.
    int cantidadAcum();
    /// Every whole record of the file, in company order, read in one go;
    /// a missing file is an error.
    std::vector<TRegDatosAcum> leerTodos();
};

/// Copies, in this order, "DATOS ACUMULADOS.DAT" to "AUXACUM.DAT",
/// "DECISIONES.DAT" to "AUXDECISIONES.DAT" and "DATOS INICIALES.DAT" to
/// "AUXINI.DAT", overwriting. A copy that fails leaves its target as it was.
void guardarRespaldo();

/// Copies the three backups back, in the same order. Returns false, and
/// copies nothing, when no backup file is there (no run to undo).
bool restaurarRespaldo();

/// Deletes the three backup files, so that a new game cannot step back into
/// the files of the previous one.
void borrarRespaldo();
