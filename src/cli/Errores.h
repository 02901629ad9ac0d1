#pragma once
// The two kinds of failure the tool reports, which set its exit code.

#include <stdexcept>

/// The command line itself is wrong: unknown order, missing or surplus
/// arguments, an argument that is not a number. Exit code 2.
class ErrorUso : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// ErrorJuego (the game core's refusals, a bad line in an input file): exit
/// code 1, like a file error.
#include "juego/Juego.h"
