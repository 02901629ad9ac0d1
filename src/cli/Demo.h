#pragma once
// A whole sample game, for a first look at the program without a display:
// the sample parameters of the initial data screen, five teams, period 0 and
// ten periods of built-in decisions. The decisions are chosen so that the
// reports show unsold stock, laid-off employees, a penalty and a bankruptcy.

#include <filesystem>
#include <optional>

/// Plays the sample game into carpeta, or, when none is given, into a new
/// folder "corvelian-demo" (or "corvelian-demo-2", ...) in the current
/// directory, and lists the report files. Refuses a folder that already
/// holds a game, so that a real game is never overwritten.
void jugarDemo(const std::optional<std::filesystem::path>& carpeta);
