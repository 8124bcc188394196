#include "support/PdfWords.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>

#include "support/TestFiles.h"

namespace tandor::test {

BatchRun runBatch(const QStringList& args) {
    return runBatch(args, {});
}

BatchRun runBatch(const QStringList& args, const QStringList& environment) {
    QProcess process;
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const QString& variable : environment) {
        const qsizetype equals = variable.indexOf(QLatin1Char('='));
        variables.insert(variable.left(equals), variable.mid(equals + 1));
    }
    process.setProcessEnvironment(variables);
    process.start(batchExecutable(), args);
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

bool havePdfToText() {
    return !QStandardPaths::findExecutable("pdftotext").isEmpty();
}

std::vector<Page> pdfPages(const QString& pdf) {
    QProcess process;
    process.start("pdftotext", {"-bbox", pdf, "-"});
    process.waitForFinished(60000);
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    std::vector<Page> pages;
    static const QRegularExpression tag(
        R"re(<page width="([\d.]+)" height="([\d.]+)">|<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (!m.captured(1).isEmpty()) {
            pages.push_back({m.captured(1).toDouble() / 72, m.captured(2).toDouble() / 72, {}});
        } else if (!pages.empty()) {
            QString text = m.captured(7);
            text.replace("&amp;", "&")
                .replace("&lt;", "<")
                .replace("&gt;", ">")
                .replace("&quot;", "\"");
            pages.back().words.push_back(
                {m.captured(3).toDouble() / 72, m.captured(4).toDouble() / 72,
                 m.captured(5).toDouble() / 72, m.captured(6).toDouble() / 72, text});
        }
    }
    return pages;
}

std::map<int, LabelContents> wordsByLabel(const Page& page, const Sheet& sheet) {
    std::vector<Word> sorted = page.words;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Word& a, const Word& b) {
        return a.y0 + 0.01 < b.y0 || (std::abs(a.y0 - b.y0) <= 0.01 && a.x0 < b.x0);
    });
    std::map<int, LabelContents> labels;
    for (const Word& w : sorted) {
        const int column =
            static_cast<int>(std::floor(((w.x0 + w.x1) / 2 - sheet.left) / sheet.pitchX));
        const int row =
            static_cast<int>(std::floor(((w.y0 + w.y1) / 2 - sheet.top) / sheet.pitchY));
        const double left = sheet.left + column * sheet.pitchX;
        const double top = sheet.top + row * sheet.pitchY;
        LabelContents& label = labels[row * sheet.columns + column + 1];
        label.words.append(w.text);
        label.overflow = std::max({label.overflow, left - w.x0, w.x1 - (left + sheet.width),
                                   top - w.y0, w.y1 - (top + sheet.height)});
    }
    return labels;
}

QStringList wordsOf(const QStringList& lines) {
    return lines.join(' ').split(' ', Qt::SkipEmptyParts);
}

}  // namespace tandor::test
