#include "PdfProbe.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace orvento::testsupport {

namespace {

constexpr int kToolTimeoutMs = 30000;

QByteArray run(const QString& tool, const QStringList& arguments) {
    QProcess p;
    p.start(tool, arguments);
    if (!p.waitForFinished(kToolTimeoutMs))
        return QByteArray();
    return p.readAllStandardOutput();
}

} // namespace

bool popplerMissing() {
    for (const char* tool : {"pdftotext", "pdfimages", "pdffonts", "pdftoppm"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            return true;
    return false;
}

QString pdfText(const QString& pdf) {
    return QString::fromUtf8(run(QStringLiteral("pdftotext"),
                                 {QStringLiteral("-layout"), pdf, QStringLiteral("-")}))
        .normalized(QString::NormalizationForm_KC);
}

QStringList pdfFonts(const QString& pdf) {
    // Two heading lines, then one font a line: "ABCDEF+DejaVuSans-Bold  CID TrueType ...".
    QStringList fonts;
    const QStringList lines =
        QString::fromUtf8(run(QStringLiteral("pdffonts"), {pdf})).split(QLatin1Char('\n'));
    for (qsizetype i = 2; i < lines.size(); ++i) {
        QString name = lines[i].section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
        if (name.isEmpty())
            continue;
        const qsizetype plus = name.indexOf(QLatin1Char('+'));
        fonts << (plus >= 0 ? name.mid(plus + 1) : name);
    }
    return fonts;
}

std::vector<PdfWord> pdfWords(const QString& pdf, double* pageWidth) {
    const QString html = QString::fromUtf8(
        run(QStringLiteral("pdftotext"),
            {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"),
             QStringLiteral("-l"), QStringLiteral("1"), pdf, QStringLiteral("-")}));
    if (pageWidth) {
        const QRegularExpression page(QStringLiteral("<page width=\"([0-9.]+)\""));
        const auto m = page.match(html);
        *pageWidth = m.hasMatch() ? m.captured(1).toDouble() : 0.0;
    }
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
                       "yMax=\"([0-9.]+)\">([^<]*)</word>"));
    std::vector<PdfWord> words;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        const QPointF from(m.captured(1).toDouble(), m.captured(2).toDouble());
        const QPointF to(m.captured(3).toDouble(), m.captured(4).toDouble());
        words.push_back(
            {m.captured(5).normalized(QString::NormalizationForm_KC), QRectF(from, to)});
    }
    return words;
}

QImage pdfFirstPage(const QString& pdf, int dpi) {
    QTemporaryDir dir;
    const QString stem = dir.filePath(QStringLiteral("strana"));
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
         QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
         QStringLiteral("-singlefile"), pdf, stem});
    return QImage(stem + QStringLiteral(".png"));
}

int pdfImageCount(const QString& pdf) {
    const QByteArray list = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    return static_cast<int>(list.count('\n')) - 2; // two heading lines
}

} // namespace orvento::testsupport
