#pragma once
// The window's side of the text conversion: the core's Windows-1252 texts to
// and from QString, always through the core's one converter.

#include "store/Texto.h"

#include <QString>

#include <optional>
#include <string>

inline QString aQString(const std::string& textoCp1252) { return QString::fromUtf8(cp1252AUtf8(textoCp1252)); }

/// Empty when the text holds a character that Windows-1252 cannot store.
inline std::optional<std::string> aCp1252(const QString& texto) {
    return utf8ACp1252(texto.toUtf8().toStdString());
}
