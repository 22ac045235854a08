#pragma once

#include <string>
#include <utility>
#include <vector>

class CTablature;

/// One detected occurrence: the chord's name and its byte offset.
using Occurrence = std::pair<std::string, int>;

/// The tablature's occurrences in list order.
std::vector<Occurrence> OccurrencesOf(const CTablature& tablature);
/// The names of the tablature's distinct chords in list order.
std::vector<std::string> DistinctNamesOf(const CTablature& tablature);
/// The text of a fresh detection of text moved by shift.
std::string TransposedText(const std::string& text, int shift);
