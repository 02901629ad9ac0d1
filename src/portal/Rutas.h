#pragma once
// The portal's routes: a table of {method, path, handler}. A path that
// ends in "/" takes a period number after it (0 to 10); HEAD is served as
// GET (libmicrohttpd sends no body). A path in the table asked with another
// method is answered 405 naming the methods it takes; any other path, 404.

#include "portal/Manejadores.h"

#include <optional>

/// The answer to p, or nothing when the worker will answer it.
std::optional<TRespuesta> atender(TManejadores& manejadores, TPedido& p);
