#pragma once
// The data folder: where the game files and the reports live.
//
// A TCarpeta is one game's folder together with the file system that holds
// it. The game object owns one and hands it to every store, run and report
// writer it uses, so two games (or a test's failing file system) never mix;
// nothing reaches a game file through a process-wide folder.

#include <filesystem>
#include <string>
#include <string_view>

class TSistemaArchivos;

class TCarpeta {
public:
    /// The folder and its file system (not owned: it must outlive the folder).
    TCarpeta(std::filesystem::path ruta, TSistemaArchivos& sistema) : ruta_(std::move(ruta)), sa_(&sistema) {}

    const std::filesystem::path& ruta() const { return ruta_; }
    /// Folder + separator + file name. The name is in the file system's own
    /// encoding (UTF-8 here); see nombreArchivo() for names built from game texts.
    std::filesystem::path ruta(std::string_view nombreArchivo) const {
#ifdef _WIN32
        return ruta_ / std::filesystem::path(std::u8string(nombreArchivo.begin(), nombreArchivo.end()));
#else
        // Joined as text: a run asks for a thousand paths, and every path
        // object built is split into its parts again.
        std::string junto;
        junto.reserve(ruta_.native().size() + 1 + nombreArchivo.size());
        junto = ruta_.native();
        if (!junto.empty() && junto.back() != '/' && !nombreArchivo.empty()) junto += '/';
        junto.append(nombreArchivo);
        return std::filesystem::path(std::move(junto));
#endif
    }
    TSistemaArchivos& sa() const { return *sa_; }

private:
    std::filesystem::path ruta_;
    TSistemaArchivos* sa_;
};

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
bool sePuedeEscribir(const std::filesystem::path& carpeta, TSistemaArchivos& sa);

/// The user's data folder for the game, not created: $XDG_DATA_HOME/corvelian,
/// or ~/.local/share/corvelian when XDG_DATA_HOME is unset or not absolute;
/// %LOCALAPPDATA%\corvelian on Windows. ErrorArchivo when the user has no
/// home folder.
std::filesystem::path carpetaDeUsuario();

/// Creates a game folder with its missing parents. ErrorArchivo, naming the
/// folder, when it cannot be created or something else is in its place.
void crearCarpetaDeJuego(const std::filesystem::path& carpeta, TSistemaArchivos& sa);

/// The game folder by the rule above: the executable's folder when it is
/// writable and not a system location, otherwise carpetaDeUsuario(),
/// created with its parents. ErrorArchivo, naming the folder, when it
/// cannot be created.
std::filesystem::path carpetaDatosPorOmision(const std::filesystem::path& carpetaEjecutable, TSistemaArchivos& sa);
/// The same for this program, on the real file system.
std::filesystem::path carpetaDatosPorOmision();
