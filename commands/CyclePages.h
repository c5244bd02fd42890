#pragma once

// The four pages of the cycle popup as the settings file keeps them
// ("MenuCommand" / "Popup1" to "Popup4"): one byte an item, 0x30 + the
// command's table index. The bytes are kept exactly as stored, valid or
// not, so a page edited by hand comes back unchanged.

#include <array>
#include <string>

class ProfileFile;

using PageStrings = std::array<std::string, 4>;

class CyclePages {
 public:
  static constexpr int kPageCount = 4;

  static const PageStrings& Defaults();
  // A missing key gives its page's default; an empty value an empty page.
  static PageStrings Load(const ProfileFile& profile);
  static void Save(ProfileFile& profile, const PageStrings& pages);
};
