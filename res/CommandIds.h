#pragma once

// Command identifiers. The values are part of the settings format: popup
// pages and the custom button store command-table indices that resolve to
// these numbers.

namespace ids {

// The editor's own commands.
inline constexpr int kNewWindow = 32771;
inline constexpr int kGoToLine = 32772;
inline constexpr int kMiniLauncher = 32773;
inline constexpr int kQuickTile = 32774;
inline constexpr int kWordWrap = 32776;
inline constexpr int kQuickHelp = 32777;
inline constexpr int kHelpHtml = 32778;
inline constexpr int kRegisterQuickTile = 32779;
inline constexpr int kMiniLauncherSettings = 32781;
inline constexpr int kFontSettings = 32782;
inline constexpr int kAssociateExtension = 32783;
inline constexpr int kKanjiCodeSettings = 32785;
inline constexpr int kRemoveAssociation = 32787;
inline constexpr int kBackgroundColour = 32790;
inline constexpr int kCycleMenuSettings = 32797;
inline constexpr int kDocumentEnd = 32802;
inline constexpr int kMaximiseRestore = 32803;
inline constexpr int kMinimise = 32804;
inline constexpr int kLineStart = 32805;
inline constexpr int kLineEnd = 32806;
inline constexpr int kDocumentStart = 32807;
inline constexpr int kFlatToolBar = 32808;
inline constexpr int kInsertPhrase = 32809;
inline constexpr int kPhraseSettings = 32810;
inline constexpr int kPhrase1 = 32811;  // to kPhrase1 + 4
inline constexpr int kAutoIndent = 32816;
inline constexpr int kLineEndReplacement = 32817;
inline constexpr int kHomePage = 32818;
inline constexpr int kCustomButton = 32821;
inline constexpr int kCustomButtonSettings = 32822;

// Framework commands.
inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 57604;
inline constexpr int kPrintSetup = 57606;
inline constexpr int kPrint = 57607;
inline constexpr int kPrintDirect = 57608;
inline constexpr int kPrintPreview = 57609;
inline constexpr int kRecentFile1 = 57616;  // to kRecentFile1 + 3
inline constexpr int kCopy = 57634;
inline constexpr int kCut = 57635;
inline constexpr int kFind = 57636;
inline constexpr int kPaste = 57637;
inline constexpr int kReplace = 57641;
inline constexpr int kSelectAll = 57642;
inline constexpr int kUndo = 57643;
inline constexpr int kAbout = 57664;
inline constexpr int kExit = 57665;
inline constexpr int kToolBar = 59392;
inline constexpr int kStatusBar = 59393;
// The item of an empty cycle popup page: nothing handles it.
inline constexpr int kEmptyPage = 59395;

// Status bar panes.
inline constexpr int kPaneMode = 59140;
inline constexpr int kPaneTime = 59141;
inline constexpr int kPaneLine = 59143;
inline constexpr int kPaneCodes = 59144;
inline constexpr int kPaneDate = 59145;
inline constexpr int kPaneModified = 59146;
inline constexpr int kPaneSize = 59147;

}  // namespace ids
