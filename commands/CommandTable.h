#pragma once

// The fixed list of commands that the cycle popup pages and the custom
// button may be bound to. Settings store an entry's position as the single
// byte 0x30 + index, so the order is part of the settings format.

#include <array>
#include <optional>

struct CommandEntry {
  unsigned id;       // 0 for a separator and for the terminator
  const char* name;  // UTF-8; empty only for the terminator
};

using CommandIndex = int;

inline constexpr CommandIndex kLastCommandIndex = 51;
inline constexpr const char* kSeparatorName = "----------------";

// 52 entries, indices 0 to 51, then the terminator (empty name, id 0).
extern const std::array<CommandEntry, kLastCommandIndex + 2> CommandTable;

// The byte a settings value stores for an index.
constexpr char EncodeCommandIndex(CommandIndex index) { return static_cast<char>(0x30 + index); }

// The index a stored byte names: bytes 0x30 ("0") to 0x63 ("c") only.
constexpr std::optional<CommandIndex> DecodeCommandIndex(char stored) {
  unsigned char byte = static_cast<unsigned char>(stored);
  if (byte < 0x30 || byte > 0x30 + kLastCommandIndex) return std::nullopt;
  return byte - 0x30;
}

inline bool IsSeparator(const CommandEntry& entry) { return entry.id == 0; }

// The entry a byte of a popup page shows: a byte that names no entry shows
// (and runs) the last one.
constexpr CommandIndex PageItemIndex(char stored) { return DecodeCommandIndex(stored).value_or(kLastCommandIndex); }
