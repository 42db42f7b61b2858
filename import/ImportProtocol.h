#pragma once

#include <QString>

#include <functional>
#include <utility>
#include <vector>

namespace orvento::import {

// The protocol of an import run: its lines in order, each in one of four styles.
class ImportProtocol {
public:
    enum class Style { Plain = 0, Bold = 1, BoldGreen = 2, Red = 3 };
    struct Line {
        QString text;
        Style style = Style::Plain;
    };
    enum class Change { Added, LastRemoved, Cleared };
    // Told of every change, so the wizard's view follows and the command line prints as the run
    // goes; for Added the new line is lines().back().
    using Listener = std::function<void(Change change)>;

    void add(const QString& text, Style style = Style::Plain);
    void removeLast();
    void clear();
    const std::vector<Line>& lines() const { return m_lines; }
    // The lines as plain text, for "Uložit protokol".
    QString toPlainText() const;
    void setListener(Listener listener) { m_listener = std::move(listener); }

private:
    std::vector<Line> m_lines;
    Listener m_listener;
};

} // namespace orvento::import
