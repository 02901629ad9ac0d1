#pragma once
// The one way the core speaks to whoever runs it. The core never shows
// anything itself: where the game calls for a message box or the file
// browser, the game object asks its notifier. The window implements it with
// Qt, the command-line tool by printing, and tests by recording the calls.
// What the window's menus and status line show is not told here: each front
// reads it from the game's state after every operation.
// Texts are Windows-1252, as everywhere in the core.

#include <filesystem>
#include <string>

class TNotificador {
public:
    virtual ~TNotificador() = default;

    /// A warning box (warning icon, one OK button) with a caption.
    virtual void advertencia(const std::string& titulo, const std::string& texto) = 0;
    /// An information box (information icon, OK): a run's bankruptcy message.
    virtual void informacion(const std::string& texto) = 0;
    /// Shows the data folder in the desktop's file browser, without waiting.
    virtual void abrirCarpeta(const std::filesystem::path& carpeta) = 0;
};

/// A notifier that ignores every call: a game's until it is given another.
class TNotificadorSilencioso final : public TNotificador {
public:
    void advertencia(const std::string&, const std::string&) override {}
    void informacion(const std::string&) override {}
    void abrirCarpeta(const std::filesystem::path&) override {}
};
