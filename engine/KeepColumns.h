#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/ChordOccurrence.h"
#include "engine/ChordRules.h"

class CNameWriter;

/// The column rule of a chord sheet: the text with the names of
/// occurrences replaced by the moved names writer writes, every word of a
/// line that holds a name back at its old column as far as the line has
/// room.
///
/// A word is a stretch of the line without blanks (spaces, tabs), a name
/// with what is written around it: "(A7)", "Am/G", "|C", a bar line. Each
/// word starts at its old column unless the word before it, grown, would
/// touch it: then it moves right by the least that keeps one blank between
/// them, and the next word goes back to its own column as soon as there is
/// room again. Blanks after the last word keep the line's old end where
/// they can. A line grows only when its words do not fit; lines without a
/// name are never touched.
///
/// Columns are counted as a text editor or an HTML <pre> shows them: tabs
/// stop every eight columns, a UTF-8 character is one column when the line
/// is valid UTF-8 (a byte otherwise). In an HTML song tags take no column
/// and an entity takes one; a line that an element breaks (<br>, <p>, ...)
/// is left as rewritten, and so is a line of ChordPro names written inside
/// lyrics ([G]Amazing), where columns mean nothing.
///
/// When only chord lines count (rules.chordLines), a gap wide enough to
/// part two columns of a sheet (engine/ChordLine.h) changes how a line
/// reads. A line laid out must read as it did rewritten: else its wide gaps
/// stay wide and its narrow ones narrow, and failing that it stays as
/// rewritten. An HTML line with markup, which that reading takes as blanks,
/// stays as rewritten then too.
///
/// Returns the new text; occurrences are moved to where their names stand in it.
std::string KeepColumns(std::string_view before, CNameWriter& writer, std::vector<ChordOccurrence>& occurrences,
                        const ChordRules& rules);
