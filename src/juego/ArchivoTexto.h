#pragma once
// Text files that the game master hands to the program (team lists,
// parameters, decisions): they are UTF-8, the game files Windows-1252. Both
// the tool and the window read them through these functions.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

/// UTF-8 text as Windows-1252. Throws ErrorJuego naming donde ("equipos.txt,
/// línea 3") and the first character that the game files cannot hold, or
/// saying that the text is not UTF-8 at all.
std::string aWindows1252(std::string_view utf8, const std::string& donde);

/// Blanks, tabs and a stray carriage return trimmed from both ends.
std::string recortar(std::string_view texto);

/// The lines of a text file, without their line ends (LF or CR LF) and
/// without a leading UTF-8 byte order mark. ErrorJuego when it cannot be read.
std::vector<std::string> leerLineas(const std::filesystem::path& archivo);

/// "archivo, línea n", the start of every message about a line of a file.
std::string enLinea(const std::filesystem::path& archivo, std::size_t linea);
