#pragma once
// Texts and numbers as the game writes and reads them.
//
// Inside the core every text is a std::string holding single-byte
// Windows-1252 text, exactly as the game files and reports store it. This is
// the one place that converts between that and UTF-8 (the encoding of the
// terminal, the file system and, through QString::fromUtf8, the window).
// It is also the one place that reads the decimal separator from the
// process's regional settings.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// Windows-1252 bytes to UTF-8. Every byte converts (the five bytes that
/// Windows-1252 leaves undefined map to the C1 controls, as Windows does).
std::string cp1252AUtf8(std::string_view texto);

/// UTF-8 to Windows-1252; empty when a character has no Windows-1252 byte or
/// the text is not valid UTF-8.
std::optional<std::string> utf8ACp1252(std::string_view texto);

/// A UTF-8 literal of the source code as Windows-1252 ("Compañía" -> 8 bytes).
/// A character outside Windows-1252 is a programming error (std::logic_error).
std::string cp1252(std::string_view literalUtf8);

/// The lines of a text, split at '\n' without their line ends; a last line
/// without one counts too. Our own files are read with it, never through a
/// stream that carries the process's regional settings.
std::vector<std::string> dividirLineas(std::string_view texto);

/// A field of a CSV line: quoted ("" for a quote) when it holds the
/// separator, a quote or a line end; as it is otherwise.
std::string campoCsv(std::string_view texto, char separador = ',');

/// A cell of a CSV file a person opens in a spreadsheet: campoCsv of the
/// text, with a leading apostrophe when a spreadsheet would take it for a
/// formula (it begins with =, +, -, @, a tab or a CR). A plain whole number
/// such as -5 is no formula and stays as it is.
std::string celdaCsv(std::string_view texto, char separador = ',');

/// The lines of CSV text, each as its fields; a quoted field may hold commas,
/// quotes ("") and line ends. A CR before a line end is dropped.
std::vector<std::vector<std::string>> dividirCsv(std::string_view texto);

/// The text with the ASCII capitals A-Z in lower case, every other byte as it
/// is: names of columns, keys and file extensions compared without case.
std::string minusculas(std::string_view texto);

/// FNV-1a of the bytes, continued from h: a fingerprint, not a secret.
inline constexpr std::uint64_t kFnvInicio = 14695981039346656037ull;
std::uint64_t huellaFnv(std::string_view bytes, std::uint64_t h = kFnvInicio);

/// A whole number as decimal digits, right-aligned to ancho with blanks.
std::string enteroAlineado(long long valor, std::size_t ancho);

/// The decimal separator of the process's regional settings (LC_NUMERIC):
/// '.' in the C locale, ',' in a locale such as es_AR.
char separadorDecimal();

/// Shortest general notation with up to 15 significant digits and the
/// regional separator: 24 -> "24", 12.5 -> "12.5", 1500.5 -> "1500.5",
/// 0.00001 -> "1E-5". Whole numbers print without decimals.
std::string textoGeneral(long double valor);

/// A whole number: optional leading blanks, an optional sign and decimal
/// digits, nothing after them, within 32 bits. Empty otherwise.
std::optional<int32_t> leerEntero(std::string_view texto);

/// As leerEntero, but a text that is not a whole number raises
/// ErrorConversion with textoNoEsEntero (the text is Windows-1252; the
/// message is UTF-8).
int32_t aEntero(std::string_view texto);

/// What a person is told of a text (UTF-8) that is not a whole number, in the
/// portal's words: "«abc» no es un número entero: …", or that it is empty.
std::string textoNoEsEntero(std::string_view texto);

/// A decimal number in the regional format: optional blanks around it, an
/// optional sign, digits with at most one regional separator, an optional
/// exponent. Empty otherwise. Extended precision, as typed values are then
/// scaled (÷ 100, ÷ 3) before being stored as doubles.
std::optional<long double> leerDecimal(std::string_view texto);

/// As leerDecimal, but a text that is not a number raises ErrorConversion
/// with textoNoEsDecimal.
long double aDecimal(std::string_view texto);

/// As textoNoEsEntero, for a number that may have a decimal point.
std::string textoNoEsDecimal(std::string_view texto);
