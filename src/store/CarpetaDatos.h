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
