#pragma once
// A filed report as the window shows and prints it: decoded from
// Windows-1252, CR LF (or a lone CR) as one line end, and tabs laid out at
// every 8 columns as a text editor does, so the columns line up whatever
// widget or printer shows the text.

#include <QString>

#include <string>

/// The report's bytes as text with '\n' line ends and no tabs.
QString textoDeReporte(const std::string& bytesCp1252);
