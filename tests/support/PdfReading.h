#pragma once

// What a PDF file holds, read back with poppler's command-line tools: the
// text of its pages, its page count and the boxes of its words.

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

// Standard output of `program arguments`, empty when it cannot run.
inline QString ToolOutput(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitCode() != 0) return {};
  return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of pages `first` to `last` (0: from the first, to the last);
// pages end with a form feed.
inline QString PdfText(const std::string& path, int first = 0, int last = 0) {
  QStringList arguments{QStringLiteral("-enc"), QStringLiteral("UTF-8")};
  if (first > 0) arguments << QStringLiteral("-f") << QString::number(first);
  if (last > 0) arguments << QStringLiteral("-l") << QString::number(last);
  arguments << QString::fromStdString(path) << QStringLiteral("-");
  return ToolOutput(QStringLiteral("pdftotext"), arguments);
}

// The text's lines with the page breaks taken out (each page's text ends
// with an empty line before its form feed).
inline QStringList PdfLines(const std::string& path) {
  QStringList lines;
  for (const QString& page : PdfText(path).split(QLatin1Char('\f'))) {
    QStringList pageLines = page.split(QLatin1Char('\n'));
    while (!pageLines.isEmpty() && pageLines.last().isEmpty()) pageLines.removeLast();
    lines << pageLines;
  }
  return lines;
}

inline int PdfPageCount(const std::string& path) {
  QRegularExpressionMatch match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                                      .match(ToolOutput(QStringLiteral("pdfinfo"), {QString::fromStdString(path)}));
  return match.hasMatch() ? match.captured(1).toInt() : -1;
}

inline QString PdfFonts(const std::string& path) {
  return ToolOutput(QStringLiteral("pdffonts"), {QString::fromStdString(path)});
}

// Word boxes in points from the page's top left corner, with the page's size.
struct PdfWord {
  double xMin, yMin, xMax, yMax;
  double pageWidth, pageHeight;
};

inline std::vector<PdfWord> PdfWords(const std::string& path) {
  QString html = ToolOutput(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QString::fromStdString(path),
                                                          QStringLiteral("-")});
  std::vector<PdfWord> words;
  double width = 0, height = 0;
  QRegularExpression tag(QStringLiteral(
      "<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">|"
      "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">"));
  for (auto it = tag.globalMatch(html); it.hasNext();) {
    QRegularExpressionMatch match = it.next();
    if (!match.captured(1).isEmpty()) {
      width = match.captured(1).toDouble();
      height = match.captured(2).toDouble();
      continue;
    }
    words.push_back({match.captured(3).toDouble(), match.captured(4).toDouble(), match.captured(5).toDouble(),
                     match.captured(6).toDouble(), width, height});
  }
  return words;
}
