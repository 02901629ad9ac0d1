#pragma once
// What the game files and the money rules take from the compiler and the
// processor; a build that lacks any of it fails here rather than computing
// other figures.

#include <bit>
#include <limits>

static_assert(std::endian::native == std::endian::little, "the game files are little-endian");
static_assert(sizeof(double) == 8, "the game files store IEEE doubles");
// The engine carries sums and products in x87 extended precision up to each
// truncation; a 64-bit long double (MSVC, ARM) gives other figures.
static_assert(std::numeric_limits<long double>::digits == 64, "long double must be the 80-bit extended type");
