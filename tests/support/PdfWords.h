#pragma once

#include <QString>
#include <QStringList>
#include <map>
#include <vector>

namespace tandor::test {

// One run of tandor-batch.
struct BatchRun {
    int exitCode = -1;
    QString out;
    QString err;
};
BatchRun runBatch(const QStringList& args);
// With the given environment variables ("NAME=value") set over this process's.
BatchRun runBatch(const QStringList& args, const QStringList& environment);

// A word of a PDF page as pdftotext places it, in inches from the page's top-left corner.
struct Word {
    double x0, y0, x1, y1;
    QString text;
};

struct Page {
    double width = 0;  // inches
    double height = 0;
    std::vector<Word> words;
};

bool havePdfToText();
// The pages of a PDF file with their words (pdftotext -bbox).
std::vector<Page> pdfPages(const QString& pdf);

// A sheet of labels: the first label's top-left corner, size and pitch, in inches.
struct Sheet {
    double left, top, width, height, pitchX, pitchY;
    int columns, rows;
};
inline constexpr Sheet kAvery5160{0.1875, 0.5, 2.625, 1.0, 2.75, 1.0, 3, 10};
inline constexpr Sheet kAvery5167{0.28125, 0.5, 1.75, 0.5, 2.0625, 0.5, 4, 20};

// The words of one label, in reading order, and how far they reach outside it.
struct LabelContents {
    QStringList words;
    double overflow = 0;  // inches; 0 when every word box lies inside
};

// Each word goes to the label under its centre; labels are numbered from 1, left to right, top to
// bottom.
std::map<int, LabelContents> wordsByLabel(const Page& page, const Sheet& sheet);

// The words of lines of text, as pdftotext splits them.
QStringList wordsOf(const QStringList& lines);

}  // namespace tandor::test
