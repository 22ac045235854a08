#pragma once

// The numeric control ids of the dialogs. Every control carries its id as its
// objectName (ControlName), so tests and tools find it by id.

#include <QString>

namespace DialogIds {

// Standard buttons.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdHelp = 57670;

// Chord difficulty levels sheet.
inline constexpr int kIdResetAllChords = 1056;
inline constexpr int kIdFirstLevelBox = 1128; // 1128 .. 1139, one per row
inline constexpr int kIdLastLevelBox = 1139;
inline constexpr int kIdResetTheseChords = 1142;

// Highlight options dialog.
inline constexpr int kIdBold = 1120;
inline constexpr int kIdItalic = 1121;
inline constexpr int kIdUnderline = 1122;
inline constexpr int kIdSetColor = 1123;
inline constexpr int kIdUseColor = 1124;
inline constexpr int kIdShowConfiguration = 1125;
inline constexpr int kIdHighlightHelp = 1126;

// Manual chord entry dialog.
inline constexpr int kIdManualClear = 1028;
inline constexpr int kIdManualEasiest = 1030;
inline constexpr int kIdManualHelp = 1055;
inline constexpr int kIdManualSlider = 1069;
inline constexpr int kIdManualUp = 1074;
inline constexpr int kIdManualDown = 1075;
inline constexpr int kIdManualHint = 1115;
/// Song-chord boxes of columns 1 to 12.
inline constexpr int kIdSongChord[12] = {1053, 1054, 1031, 1032, 1033, 1034, 1035, 1036, 1037, 1038, 1039, 1040};
/// Transposed-chord boxes of columns 1 to 12.
inline constexpr int kIdTransposedChord[12] = {1041, 1042, 1043, 1044, 1045, 1046, 1047, 1048, 1049, 1050, 1051, 1052};

/// The objectName a control with this id carries.
inline QString ControlName(int id) {
    return QString::number(id);
}

} // namespace DialogIds
