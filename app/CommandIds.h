#pragma once

#include <QString>

// The numeric command and control ids of the program. Every QAction and
// control carries its id as its objectName (ObjectNameOf), so that code and
// tests find a control by its id, as the program's windows are addressed.

// Resources shared by the menu, the accelerators, the tool bar and the transposition bar.
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_COMMENTS = 139;

// Framework commands.
inline constexpr int ID_FILE_NEW = 57600;
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_SAVE = 57603;
inline constexpr int ID_FILE_SAVE_AS = 57604;
inline constexpr int ID_FILE_PRINT_SETUP = 57606;
inline constexpr int ID_FILE_PRINT = 57607;
inline constexpr int ID_FILE_PRINT_DIRECT = 57608;
inline constexpr int ID_FILE_PRINT_PREVIEW = 57609;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;
inline constexpr int ID_HELP = 57670;
inline constexpr int ID_VIEW_TOOLBAR = 59392;
inline constexpr int ID_VIEW_STATUS_BAR = 59393;

// The program's own commands.
inline constexpr int ID_MANUAL_CHORDS = 32771;
inline constexpr int ID_CHORD_LEVELS = 32772;
inline constexpr int ID_COMMENTS = 32773;
inline constexpr int ID_TRANSPOSE_UP = 32778;
inline constexpr int ID_TRANSPOSE_DOWN = 32779;
inline constexpr int ID_FIND_EASIEST = 32780;
inline constexpr int ID_HIGHLIGHT_TOGGLE = 32781;
inline constexpr int ID_HIGHLIGHT_OPTIONS = 32783;
inline constexpr int ID_HELP_FILE = 32788;

// Controls of the transposition bar.
inline constexpr int IDC_SHIFT_SLIDER = 1119;
inline constexpr int IDC_EASINESS_GAUGE = 1171;
inline constexpr int IDC_HARDNESS_GAUGE = 1172;

/// The objectName a control or action with this id carries.
inline QString ObjectNameOf(int id) {
    return QString::number(id);
}
