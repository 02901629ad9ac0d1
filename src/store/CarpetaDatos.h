#pragma once
// The data folder: where the game files and the reports live.
//
// The program sets it once at start-up (the folder of the executable); tests
// and the command-line tool point it at any folder. Every path is rebuilt from
// it at each call, so changing it redirects every store at once.

#include <filesystem>
#include <string_view>

void fijarCarpetaDatos(const std::filesystem::path& carpeta);
const std::filesystem::path& carpetaDatos();

/// Data folder + separator + file name. The name is in the file system's own
/// encoding (UTF-8 here); see nombreArchivo() for names built from game texts.
std::filesystem::path rutaDatos(std::string_view nombreArchivo);

/// Folder that holds the running executable.
std::filesystem::path carpetaDelEjecutable();

// Where the game lives when nobody names a folder. A program run from a
// folder it can write (its build folder, a copy on a memory stick) keeps
// its game beside itself; an installed one keeps it in the user's data
// folder, since it may not write where it is installed, and must not even
// when it can (root writing /usr/bin).

/// The folder is where installed programs live: /usr/bin, /usr/local/bin,
/// /usr/games and the like, or any PREFIX/bin or PREFIX/games beside a
/// PREFIX/share/corvelian folder.
bool esCarpetaDelSistema(const std::filesystem::path& carpetaEjecutable);

/// True when a file can really be created and removed in the folder (a
/// permission check alone misses read-only mounts and access lists).
bool sePuedeEscribir(const std::filesystem::path& carpeta);

/// The user's data folder for the game, not created: $XDG_DATA_HOME/corvelian,
/// or ~/.local/share/corvelian when XDG_DATA_HOME is unset or not absolute;
/// %LOCALAPPDATA%\corvelian on Windows. ErrorArchivo when the user has no
/// home folder.
std::filesystem::path carpetaDeUsuario();

/// Creates a game folder with its missing parents. ErrorArchivo, naming the
/// folder, when it cannot be created or something else is in its place.
void crearCarpetaDeJuego(const std::filesystem::path& carpeta);

/// The game folder by the rule above: the executable's folder when it is
/// writable and not a system location, otherwise carpetaDeUsuario(),
/// created with its parents. ErrorArchivo, naming the folder, when it
/// cannot be created.
std::filesystem::path carpetaDatosPorOmision(const std::filesystem::path& carpetaEjecutable = carpetaDelEjecutable());
