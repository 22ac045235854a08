#pragma once

#include <QString>

// Every numeric id of the program's windows: resources and dialog
// templates (IDR_, IDD_), commands (ID_), standard buttons (IDOK, IDCANCEL)
// and controls (IDC_). Every window, QAction and control carries its id as
// its objectName (ObjectNameOf), so code and tests find it by id.

// Resources shared by the menu, the accelerators, the tool bar and the transposition bar.
inline constexpr int IDR_MAINFRAME = 128;

// Dialog templates.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_MANUAL_CHORDS = 102;
inline constexpr int IDD_MANUAL_HELP = 132;
inline constexpr int IDD_COMMENTS = 139;
inline constexpr int IDD_HIGHLIGHT = 143;
inline constexpr int IDD_HIGHLIGHT_HELP = 144;
inline constexpr int IDD_LEVELS_HELP = 152;
inline constexpr int IDD_CAPO = 160;

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
inline constexpr int ID_ALL_CHORDS = 32790;
inline constexpr int ID_SPELLING_AS_WRITTEN = 32791; // 32791 .. 32794, in the order of Spelling
inline constexpr int ID_SPELLING_BY_KEY = 32794;
inline constexpr int ID_KEEP_COLUMNS = 32795;
inline constexpr int ID_SUGGEST_CAPO = 32796;
inline constexpr int ID_ZOOM_IN = 32797;
inline constexpr int ID_ZOOM_OUT = 32798;
inline constexpr int ID_ZOOM_ACTUAL = 32799;
inline constexpr int ID_LEFT_HANDED = 32800;
inline constexpr int ID_CHORD_LINES = 32801;
inline constexpr int ID_GERMAN_NOTATION = 32802;
inline constexpr int ID_READ_AS_GUITARIST = 32810;
// File > Export As ChordPro... and Export As Text...
inline constexpr int ID_EXPORT_CHORDPRO = 32820;
inline constexpr int ID_EXPORT_TEXT = 32821;

// Standard buttons.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// Controls of the transposition bar.
inline constexpr int IDC_SHIFT_SLIDER = 1119;
inline constexpr int IDC_EASINESS_GAUGE = 1171;
inline constexpr int IDC_HARDNESS_GAUGE = 1172;

// Capo suggestion and the transposition bar's capo note.
inline constexpr int IDC_CAPO_TABLE = 1180;
inline constexpr int IDC_CAPO_NOTE = 1181;
inline constexpr int IDC_CAPO_WRITE = 1189;

// The status bar's lasting notes: the names left as written, the song's key.
inline constexpr int IDC_UNTOUCHED_NOTE = 1182;
inline constexpr int IDC_KEY_NOTE = 1183;

// Chord difficulty levels sheet.
inline constexpr int IDC_RESET_ALL_CHORDS = 1056;
inline constexpr int IDC_FIRST_LEVEL_BOX = 1128; // 1128 .. 1139, one per row
inline constexpr int IDC_LAST_LEVEL_BOX = 1139;
inline constexpr int IDC_RESET_THESE_CHORDS = 1142;

// Highlight options dialog.
inline constexpr int IDC_BOLD = 1120;
inline constexpr int IDC_ITALIC = 1121;
inline constexpr int IDC_UNDERLINE = 1122;
inline constexpr int IDC_SET_COLOR = 1123;
inline constexpr int IDC_USE_COLOR = 1124;
inline constexpr int IDC_SHOW_CONFIGURATION = 1125;
inline constexpr int IDC_HIGHLIGHT_HELP = 1126;

// Manual chord entry dialog.
inline constexpr int IDC_MANUAL_CLEAR = 1028;
inline constexpr int IDC_MANUAL_EASIEST = 1030;
inline constexpr int IDC_MANUAL_HELP = 1055;
inline constexpr int IDC_MANUAL_SLIDER = 1069;
inline constexpr int IDC_MANUAL_UP = 1074;
inline constexpr int IDC_MANUAL_DOWN = 1075;
inline constexpr int IDC_MANUAL_HINT = 1115;
/// Song-chord boxes of columns 1 to 12.
inline constexpr int IDC_SONG_CHORD[12] = {1053, 1054, 1031, 1032, 1033, 1034, 1035, 1036, 1037, 1038, 1039, 1040};
/// Transposed-chord boxes of columns 1 to 12.
inline constexpr int IDC_TRANSPOSED_CHORD[12] = {1041, 1042, 1043, 1044, 1045, 1046,
                                                 1047, 1048, 1049, 1050, 1051, 1052};

/// The objectName a window, action or control with this id carries.
inline QString ObjectNameOf(int id) {
    return QString::number(id);
}
