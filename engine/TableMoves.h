#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "chords/TableNames.h"
#include "engine/SongKey.h"
#include "engine/SongOptions.h"

/// Where each of the 85 table names goes when a song moves: the table index
/// of the moved name, spelled as the options say.
using TableMoves = std::array<std::uint8_t, TableNames::kSize>;

/// The moves of a song in key (none without chords) moved by shift
/// half-tones, spelled by spelling: by key, each root as the scale degree it
/// is in the key moved by the shift. At a shift of 0 (or 12) every name
/// stays as written. In German notation a root moved to A# is B (B flat), as
/// a German sheet writes it.
TableMoves MovesAt(int shift, Spelling spelling, const std::optional<SongKey>& key,
                   Notation notation = Notation::AsWritten);
