#pragma once
// The file that makes a game a practice: "PRACTICA.csv" (UTF-8, locale-free)
// names the student's company, the one company of the game a person plays.
// A class game, and a folder of an older version, has no such file. The
// file is written with the practice and never changes; a new game over the
// folder removes it.

#include <filesystem>
#include <string>
#include <string_view>

/// The file's text: the header "empresa" and the student's company (given in
/// Windows-1252, written in UTF-8 and quoted as CSV when it needs it).
std::string textoPractica(const std::string& empresa);

/// The student's company (Windows-1252) from the file's text;
/// ErrorArchivoDanado naming ruta when it is not what textoPractica writes.
std::string leerTextoPractica(std::string_view texto, const std::filesystem::path& ruta);
