#pragma once
// Playing periods through the game core, for tests that need a history.

#include "store/Registros.h"

#include <functional>
#include <vector>

/// Stores and runs periods 1..hasta of the game in the data folder, each
/// active company i (from 0) deciding decision(i, period). Returns the
/// decisions of each period run, in order.
std::vector<std::vector<TRegDecision>> jugarPeriodos(int hasta,
                                                     const std::function<TRegDecision(int, int)>& decision);
