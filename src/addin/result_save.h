#pragma once
// frmResult's "&Save results": the log appended to a text file the user names.

#include <string_view>

#include "addin/views.h"

namespace vex::host {
class Screen;
}

namespace vex::addin {

inline constexpr std::string_view kResultTitle = "Résultat";
inline constexpr std::string_view kResultDefaultExt = "txt";
inline constexpr std::string_view kResultFileName = "Resultat.txt";
/// Hide read-only (4) + extension differs (1024) + ask before creating (8192) + long names (2097152);
/// no overwrite question, since the file is appended to.
inline constexpr long kResultSaveFlags = 2106372;
inline constexpr std::string_view kResultFilter = "Fichier texte  (*.txt)|*.txt|Tous les fichiers  (*.*)|*.*";

/// The save dialog's settings, as cmdSave sets them before opening it.
SaveDialogSettings ResultSaveSettings();

/// cmdSave_Click: asks for a file and appends `text` and CR LF to it (created when missing; a name
/// without extension gets ".txt"), the pointer the hourglass meanwhile. Cancel, and any failure to
/// write, end it silently; the pointer is the default again in every case. Returns whether it wrote.
bool SaveResults(SaveFileDialog& dialog, host::Screen& screen, std::string_view text);

}  // namespace vex::addin
