#pragma once

// The five registered phrases and the marked one, kept in the settings
// file's "LineWord" section and read there at every use: several editors
// share the file.

#include <QString>

#include <array>

class EditorControl;
class ProfileFile;
class QWidget;

class Phrases {
 public:
  static constexpr int kCount = 5;

  explicit Phrases(ProfileFile& profile) : m_profile(profile) {}

  // "Word1" to "Word5"; an index outside 1 to 4 names "Word1".
  static const char* KeyFor(int index);

  QString Read(int index) const;
  // The marked phrase's index as stored, unchecked.
  int CheckNum() const;
  std::array<QString, kCount> ReadAll() const;
  // "CheckNum" first, then the phrases in order.
  void Write(int checkNum, const std::array<QString, kCount>& words);

  // Replaces the selection with phrase `index` as one undoable step; an
  // empty phrase is refused with a message box owned by `owner`.
  void Insert(int index, EditorControl& control, QWidget* owner) const;
  void InsertMarked(EditorControl& control, QWidget* owner) const { Insert(CheckNum(), control, owner); }

  // The settings dialog; on OK its choices are written.
  void RunSettings(QWidget* parent);

 private:
  ProfileFile& m_profile;
};
