#pragma once
// A whole folder as data: every entry below it (files with their bytes,
// folders, links with their targets), to prove that a folder is exactly as
// it was, and to put it back that way.

#include <filesystem>
#include <map>
#include <string>

/// Relative path -> content. A file maps to its bytes, a folder to
/// "<carpeta>", a link to "<enlace> " and its target. Nothing is skipped.
using TFoto = std::map<std::string, std::string>;

TFoto fotografiar(const std::filesystem::path& carpeta);

/// Empties the folder and rebuilds it from the snapshot.
void restaurarFoto(const std::filesystem::path& carpeta, const TFoto& foto);

/// The entries that differ between two snapshots, one per line, for failure messages.
std::string diferencias(const TFoto& esperada, const TFoto& real);
