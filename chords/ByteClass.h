#pragma once

#include <array>
#include <cstdint>

/// A set of bytes as a table of 256 flags, for tests in the inner loops of
/// reading a song.
using ByteClass = std::array<std::uint8_t, 256>;

/// The class holding the bytes of members.
constexpr ByteClass MakeByteClass(const char* members) {
    ByteClass table{};
    for (const char* c = members; *c; ++c)
        table[static_cast<unsigned char>(*c)] = 1;
    return table;
}
