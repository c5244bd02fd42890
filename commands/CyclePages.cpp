#include "CyclePages.h"

#include "ProfileFile.h"
#include "ShiftJisCodec.h"

namespace {

constexpr const char* kSection = "MenuCommand";

std::string Key(int page) { return "Popup" + std::to_string(page + 1); }

}  // namespace

const PageStrings& CyclePages::Defaults() {
  static const PageStrings defaults = {";<=:>?:@ABC", "EF:D:HI:PRTV", "0:1234:8:9", "XYZ:[\\:`a"};
  return defaults;
}

// The settings file speaks UTF-8 on its interface and stores Shift-JIS
// losslessly, so encoding a value gives back the stored bytes.
PageStrings CyclePages::Load(const ProfileFile& profile) {
  PageStrings pages;
  for (int page = 0; page < kPageCount; ++page)
    pages[page] = kanji::ShiftJisCodec::Encode(profile.GetProfileString(kSection, Key(page), Defaults()[page])).bytes;
  return pages;
}

void CyclePages::Save(ProfileFile& profile, const PageStrings& pages) {
  for (int page = 0; page < kPageCount; ++page)
    profile.WriteProfileString(kSection, Key(page), kanji::ShiftJisCodec::Decode(pages[page]));
}
