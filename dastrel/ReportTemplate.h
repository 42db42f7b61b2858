#pragma once

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QString>

#include <optional>

namespace orvento::dastrel {

// A report template (.frx): page settings and four parts, each an HTML piece with Mustache tags.
// The format is described for users in docs/REPORTS.md.
struct ReportTemplate {
    QPageSize::PageSizeId pageSize = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF marginsMm{15.0, 12.0, 15.0, 12.0}; // left, top, right, bottom
    QString fontFamily = QStringLiteral("DejaVu Sans");
    double fontSize = 9.0;
    bool headerOnFirstPage = true;
    QString style;
    QString header;
    QString body;
    QString footer;

    QPageLayout pageLayout() const;
};

// Reads a template's text. Nothing, with a Czech reason that names the line, when the text is
// not a template: an unknown page setting or value, no body part, or a part whose Mustache tags
// do not close.
std::optional<ReportTemplate> parseTemplate(const QString& text, QString* error);
// Reads the file; a missing or unreadable file or one that is not text is refused the same way.
std::optional<ReportTemplate> loadTemplate(const QString& path, QString* error);

} // namespace orvento::dastrel
