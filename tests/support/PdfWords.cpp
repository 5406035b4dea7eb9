#include "PdfWords.h"

#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

std::vector<PdfWord> pdfWords(const QString& pdfFile, QString* error) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdfFile, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        if (error)
            *error = QStringLiteral("pdftotext failed: ") + p.errorString() + QString::fromLocal8Bit(p.readAllStandardError());
        return {};
    }
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression tag(QStringLiteral(
        R"re(<page [^>]*>|<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    std::vector<PdfWord> words;
    int page = 0;
    const double mm = 25.4 / 72; // pdftotext measures in points
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            ++page;
            continue;
        }
        QString text = m.captured(5);
        text.replace(QLatin1String("&lt;"), QLatin1String("<"))
            .replace(QLatin1String("&gt;"), QLatin1String(">"))
            .replace(QLatin1String("&quot;"), QLatin1String("\""))
            .replace(QLatin1String("&apos;"), QLatin1String("'"))
            .replace(QLatin1String("&amp;"), QLatin1String("&"));
        words.push_back({page, text, m.captured(1).toDouble() * mm, m.captured(2).toDouble() * mm,
                         m.captured(3).toDouble() * mm, m.captured(4).toDouble() * mm});
    }
    return words;
}

const PdfWord* findWord(const std::vector<PdfWord>& words, const QString& text, int page) {
    for (const PdfWord& w : words)
        if (w.page == page && w.text == text)
            return &w;
    return nullptr;
}

QString pageText(const std::vector<PdfWord>& words, int page) {
    QStringList parts;
    for (const PdfWord& w : words)
        if (w.page == page)
            parts << w.text;
    return parts.join(u' ');
}

PdfWord expectWord(const std::vector<PdfWord>& words, const QString& text) {
    const PdfWord* w = findWord(words, text);
    EXPECT_NE(w, nullptr) << text.toStdString() << " not in: " << pageText(words, 1).toStdString();
    return w ? *w : PdfWord{};
}
