#pragma once
// TDatosAcum: the company results, "DATOS ACUMULADOS.DAT", one 104-byte
// record per active company; company i (counted from 1) is record i - 1.
// Also the period checkpoint: the copies of the three files a period run
// rewrites, taken before the run so that the game master can undo it.
//
// File errors raise ErrorArchivo; a failed read leaves the output unchanged.

#include "store/NombresArchivos.h"
#include "store/CarpetaDatos.h"
#include "store/Registros.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class TTransaccion;

class TDatosAcum {
public:
    explicit TDatosAcum(const TCarpeta& carpeta) : carpeta_(carpeta) {}

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

private:
    std::vector<TRegDatosAcum> registrosExistentes();
    void comprobarIndice(uint8_t indice, std::size_t cantidad);
    TCarpeta carpeta_;
};

/// The period checkpoint: "AUXACUM.DAT", "AUXDECISIONES.DAT" and
/// "AUXINI.DAT", the results, decisions and parameters as they were before
/// the last period run. A run stages the three copies and they replace the
/// old ones only when the run commits.

/// Steps back over the last run: checks that the checkpoint is whole (all
/// three files, whole records, consistent with each other) and puts it in
/// place of the game files in one transaction, which uses it up, so that a
/// second step back finds nothing to undo. Returns the period open again,
/// or nothing, changing nothing, when there is no checkpoint; a damaged one
/// raises ErrorArchivoDanado and leaves the game as it is. ademas, when
/// given, adds its own steps to the same change, knowing the period that
/// opens again. Once the step back has happened, a step the disk did not
/// confirm is no failure: aviso, when given, gets the warning for the user
/// (UTF-8; empty when all went well).
std::optional<int> restaurarRespaldo(const TCarpeta& carpeta,
                                     const std::function<void(TTransaccion&, int)>& ademas = {},
                                     std::string* aviso = nullptr);

/// Checks the checkpoint as restaurarRespaldo does, without touching it;
/// false when there is none.
bool comprobarRespaldo(const TCarpeta& carpeta);

/// The names of the three backups and of the game files they copy, in order.
inline constexpr const char* kRespaldos[3][2] = {
    {kArchivoResultados, kRespaldoResultados},
    {kArchivoDecisiones, kRespaldoDecisiones},
    {kArchivoParametros, kRespaldoParametros},
};
