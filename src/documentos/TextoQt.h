#pragma once
// The Qt side of the text conversion, for the documents and the window: the
// core's Windows-1252 texts to and from QString, always through the core's
// one converter; and file paths to and from QString, without losing accents
// on any system.

#include "store/Texto.h"

#include <QFile>
#include <QString>

#include <filesystem>
#include <optional>
#include <string>

inline QString aQString(const std::string& textoCp1252) { return QString::fromUtf8(cp1252AUtf8(textoCp1252)); }

/// Empty when the text holds a character that Windows-1252 cannot store.
inline std::optional<std::string> aCp1252(const QString& texto) {
    return utf8ACp1252(texto.toUtf8().toStdString());
}

/// A path as Qt names it: UTF-16 on Windows, the file-name bytes of the
/// system elsewhere (a name that is not UTF-8 is shown, never thrown).
inline QString deRuta(const std::filesystem::path& ruta) {
#ifdef _WIN32
    return QString::fromStdWString(ruta.native());
#else
    return QFile::decodeName(QByteArray::fromStdString(ruta.native()));
#endif
}

/// The path a QString from Qt (a dialog, a folder list) names.
inline std::filesystem::path aRuta(const QString& ruta) {
#ifdef _WIN32
    return std::filesystem::path(ruta.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(ruta).toStdString());
#endif
}
