#pragma once
// The decisions file is read by the game core, so that the window imports
// the same file with the same messages.
#include "juego/LectorCsv.h"
