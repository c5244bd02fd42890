#pragma once

// The program's own texts: message boxes and captions. %1, %2 are filled
// in with QString::arg.

namespace strings {

inline constexpr const char* kAppTitle = "Kaboma Edit 3";
// The application's own name: the caption of the message boxes of opening,
// saving and the command line (the save prompt, file errors).
inline constexpr const char* kAppName = "Kb_zeva3";
inline constexpr const char* kUntitled = "無題";
// Save As: the text files first and selected, then everything; a typed name
// without an extension gets ".txt".
inline constexpr const char* kSaveFilter = "ﾃｷｽﾄﾌｧｲﾙ (*.txt)";
inline constexpr const char* kAllFilesFilter = "全てのファイル (*)";
inline constexpr const char* kDefaultSuffix = "txt";

inline constexpr const char* kMemoryErrorText = "作業領域を確保できませんでした。";
inline constexpr const char* kMemoryErrorCaption = "メモリエラー";

inline constexpr const char* kFileMissing = "%1\nが見つかりません。";
inline constexpr const char* kNotAFile = "%1\nはファイルではありません。";
inline constexpr const char* kFileUnreadable = "%1\nを読み込めませんでした。";
inline constexpr const char* kFileTooLarge = "%1\nは大きすぎて開けません。";
inline constexpr const char* kLineTooLong = "%1\nには長すぎて表示できない行があるため開けません。";
inline constexpr const char* kEditTooLarge = "この編集を行うと文書が大きくなりすぎるため、行いませんでした。";
inline constexpr const char* kCutAtNul =
    "%1\nには 0x00 のバイトがあるため、その手前までを読み込みました。\n"
    "このまま上書き保存すると、ファイルの残りの部分は失われます。";
inline constexpr const char* kConfirmShortenedOverwrite =
    "%1\nは途中までしか読み込まれていません。\n"
    "上書き保存すると、ファイルの残りの部分は失われます。保存しますか？";
inline constexpr const char* kNotAsRead = "この文書は読み込んだとおりには保存できません（自動判別: %1）";
// The bar over a text read in the setting's code that is plainly in
// another (%1: "Shift-JIS", "JIS", "EUC" or "UTF-8").
inline constexpr const char* kLooksLikeCode = "このファイルは %1 で書かれているようです。";
inline constexpr const char* kReopenInCode = "%1 で開き直す";
// /p when the file is plainly in another code than the setting's.
inline constexpr const char* kPrintsInCode = "%1\nは %2 で書かれているようなので、%2 として印刷します。";
inline constexpr const char* kNotAsReadReason = "ファイルの %1 バイト目からの %2 は、保存すると %3 になります。";
inline constexpr const char* kNoBytes = "（なし）";
inline constexpr const char* kConfirmNotAsReadOverwrite =
    "%1\nは読み込んだとおりには保存できません（自動判別: %2）。\n"
    "上書き保存すると、ファイルの内容が変わります。保存しますか？";
inline constexpr const char* kConfirmUnencodable =
    "次の文字は Shift-JIS で表せないため、「?」として保存されます。\n%1\n保存しますか？";
inline constexpr const char* kConfirmUncarryable =
    "次の文字は %1 で正しく保存できません。\n%2\n保存しますか？";
inline constexpr const char* kSaveFailed = "%1\nを保存できませんでした。\n%2";
inline constexpr const char* kDiskFull = "ディスクの空き容量が足りません。";
// Why a file could not be written, in the user's words; the system's own
// text follows as a detail.
inline constexpr const char* kNoPermission = "このファイルまたはフォルダに書き込む許可がありません。";
inline constexpr const char* kIsAFolder = "同じ名前のフォルダがあります。";
inline constexpr const char* kNoFolder = "保存先のフォルダがありません。";
inline constexpr const char* kLinkLoop = "シンボリックリンクが循環しているか、リンク先がありません。";
inline constexpr const char* kReadOnlyPlace = "読み取り専用の場所には保存できません。";
inline constexpr const char* kQuotaExceeded = "ディスクの使用量の上限を超えています。";
inline constexpr const char* kNameTooLong = "ファイル名が長すぎます。";
inline constexpr const char* kSystemDetail = "（%1）";
inline constexpr const char* kNoBackupForInPlace = "上書きする前に元の内容の控えを作れませんでした。\n%1";
inline constexpr const char* kBackupKept = "元の内容を戻せませんでした。元の内容の控え:\n%1";
inline constexpr const char* kInterruptedSave =
    "前回の保存が中断されました。\n%1\nは書きかけのままになっているかもしれません。\n\n"
    "保存する前の内容に戻しますか？\n"
    "（「いいえ」: ファイルは今のままにして、保存前の内容の控えを削除します。"
    "「キャンセル」: 次に起動したときにもう一度たずねます）";
inline constexpr const char* kRestoreFailed = "%1\nを保存前の内容に戻せませんでした。\n%2\n保存前の内容の控え:\n%3";
inline constexpr const char* kChangedOnDisk =
    "%1\nは、開いた後にほかのプログラムによって変更されています。\n"
    "上書きすると、その変更は失われます。上書き保存しますか？";
inline constexpr const char* kChangedOnDiskNotice = "このファイルはほかのプログラムによって変更されました。";
inline constexpr const char* kReloadChanged = "読み込み直す";
inline constexpr const char* kConfirmSaveChanges = "%1 への変更を保存しますか？";
inline constexpr const char* kMoreCharacters = "ほか %1 文字";
inline constexpr const char* kOrMore = "以上";
inline constexpr const char* kUnregistered = "デスクトップへの登録を解除しました。";
inline constexpr const char* kUnregisterIncomplete = "デスクトップへの登録の一部を解除できませんでした。";
inline constexpr const char* kHelpMissingText = "ヘルプＨＴＭＬを閲覧することができません。";
inline constexpr const char* kHelpMissingCaption = "ヘルプエラー";
inline constexpr const char* kNotFound = "「%1」が見つかりません。";
inline constexpr const char* kBadRegularExpression = "正規表現が正しくありません。\n%1";
inline constexpr const char* kSearchWrappedToStart = "文書の末尾まで検索したので、先頭から検索しました。";
inline constexpr const char* kSearchWrappedToEnd = "文書の先頭まで検索したので、末尾から検索しました。";
inline constexpr const char* kReplacedCount = "%1 箇所を置換しました。";
inline constexpr const char* kNoPrinter = "印刷に使えるプリンタがありません。\nプリンタを設定してから印刷してください。";
inline constexpr const char* kUnknownPrinter = "プリンタ「%1」が見つかりません。";
inline constexpr const char* kPrintFailed = "印刷できませんでした。\n%1";
inline constexpr const char* kPrintFileUnwritable = "%1\nに書き込めません。";

}  // namespace strings
