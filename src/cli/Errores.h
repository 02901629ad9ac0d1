#pragma once
// The two kinds of failure the tool reports, which set its exit code.

#include <stdexcept>

/// The command line itself is wrong: unknown order, missing or surplus
/// arguments, an argument that is not a number. Exit code 2.
class ErrorUso : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// The order cannot be carried out on this game or with these files: a bad
/// line in an input file, a period that cannot run now. Exit code 1, like a
/// file error. The message (UTF-8) may span several lines, one per fault.
class ErrorJuego : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
