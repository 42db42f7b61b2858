#include "core/RtfCodec.h"

#include "core/Windows1250.h"

#include <QColor>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

#include <array>
#include <map>
#include <vector>

namespace orvento::core::rtf {

namespace {

// Windows-1252 from 0x80 to 0x9F; 0 where the code page leaves a byte unassigned.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

QChar decodeByte(int byte, int codePage) {
    if (byte < 0x80)
        return QChar(byte);
    char16_t c = 0;
    if (codePage == 1250)
        c = cp1250::toUnicode(static_cast<unsigned char>(byte));
    else if (byte < 0xA0)
        c = kCp1252High[static_cast<std::size_t>(byte - 0x80)];
    else
        c = static_cast<char16_t>(byte); // Latin-1 above 0x9F
    return c == 0 ? QChar(QChar::ReplacementCharacter) : QChar(c);
}

// The byte of a character in Windows-1250; -1 when it has none.
int encodeByte(QChar ch) {
    return cp1250::fromUnicode(ch.unicode());
}

int codePageOfCharset(int charset, int fallback) {
    switch (charset) {
    case 238:
        return 1250;
    case 0:
    case 1:
        return fallback;
    default:
        return 1252;
    }
}

// Destinations whose text is never part of the document.
bool skippedDestination(const QString& word) {
    static const QStringList words = {
        QStringLiteral("stylesheet"),   QStringLiteral("info"),
        QStringLiteral("pict"),         QStringLiteral("object"),
        QStringLiteral("header"),       QStringLiteral("footer"),
        QStringLiteral("headerl"),      QStringLiteral("headerr"),
        QStringLiteral("headerf"),      QStringLiteral("footerl"),
        QStringLiteral("footerr"),      QStringLiteral("footerf"),
        QStringLiteral("footnote"),     QStringLiteral("fldinst"),
        QStringLiteral("listtable"),    QStringLiteral("listoverridetable"),
        QStringLiteral("rsidtbl"),      QStringLiteral("pntext"),
        QStringLiteral("pntxta"),       QStringLiteral("pntxtb"),
        QStringLiteral("filetbl"),      QStringLiteral("revtbl"),
        QStringLiteral("generator"),    QStringLiteral("xmlnstbl"),
        QStringLiteral("bkmkstart"),    QStringLiteral("bkmkend"),
        QStringLiteral("themedata"),    QStringLiteral("colorschememapping"),
        QStringLiteral("latentstyles"), QStringLiteral("datastore"),
        QStringLiteral("annotation"),   QStringLiteral("atnid"),
        QStringLiteral("atnauthor")};
    return words.contains(word);
}

enum class Destination { Text, FontTable, ColourTable, Skip };

struct GroupState {
    Destination destination = Destination::Text;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int font = -1;
    int halfPoints = 0;
    int colour = 0;
    int unicodeSkip = 1;
    Qt::Alignment alignment = Qt::AlignLeft;
};

struct FontEntry {
    QString name;
    int charset = 0;
};

class Reader {
public:
    Reader(const QString& text, QTextDocument& document)
        : m_in(text)
        , m_cursor(&document) {
        document.clear();
        m_cursor = QTextCursor(&document);
    }

    bool run() {
        std::vector<GroupState> stack;
        GroupState state;
        int pendingSkip = 0;
        const qsizetype n = m_in.size();
        qsizetype i = 0;
        while (i < n) {
            const QChar ch = m_in.at(i);
            if (ch == QLatin1Char('{')) {
                stack.push_back(state);
                ++i;
                continue;
            }
            if (ch == QLatin1Char('}')) {
                flush();
                if (state.destination == Destination::FontTable && !m_fontName.isEmpty())
                    endFont();
                if (stack.empty())
                    return false;
                state = stack.back();
                stack.pop_back();
                ++i;
                if (stack.empty())
                    break; // the document's own group is closed
                continue;
            }
            if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n')) {
                ++i;
                continue;
            }
            if (ch != QLatin1Char('\\')) {
                ++i;
                if (pendingSkip > 0) {
                    --pendingSkip;
                    continue;
                }
                text(state, ch);
                continue;
            }
            // A control word or symbol.
            ++i;
            if (i >= n)
                break;
            const QChar next = m_in.at(i);
            if (!next.isLetter() || next.unicode() > 0x7F) {
                ++i;
                if (next == QLatin1Char('\'')) {
                    bool hex = false;
                    const int byte = m_in.mid(i, 2).toInt(&hex, 16);
                    i += 2;
                    if (pendingSkip > 0) {
                        --pendingSkip;
                        continue;
                    }
                    if (hex && byte >= 0 && byte < 0x100)
                        text(state, decodeByte(byte, codePageOf(state)));
                } else if (next == QLatin1Char('*')) {
                    state.destination = Destination::Skip;
                } else if (next == QLatin1Char('~')) {
                    text(state, QChar(0x00A0));
                } else if (next == QLatin1Char('_')) {
                    text(state, QChar(0x2011));
                } else if (next == QLatin1Char('\\') || next == QLatin1Char('{') ||
                           next == QLatin1Char('}')) {
                    text(state, next);
                } else if (next == QLatin1Char('\n') || next == QLatin1Char('\r')) {
                    paragraph(state);
                }
                continue;
            }
            const qsizetype start = i;
            while (i < n && m_in.at(i).isLetter() && m_in.at(i).unicode() < 0x80)
                ++i;
            const QString word = m_in.mid(start, i - start);
            bool hasParam = false;
            int param = 0;
            const qsizetype numberStart = i;
            if (i < n && (m_in.at(i) == QLatin1Char('-') || m_in.at(i).isDigit())) {
                ++i;
                while (i < n && m_in.at(i).isDigit())
                    ++i;
                // Parameters are 16 or 32 bits; anything longer counts as none.
                param = m_in.mid(numberStart, i - numberStart).toInt(&hasParam);
                if (!hasParam)
                    param = 0;
            }
            if (i < n && m_in.at(i) == QLatin1Char(' '))
                ++i;
            if (word == QLatin1String("u")) {
                if (pendingSkip == 0)
                    text(state, QChar(static_cast<char16_t>(static_cast<quint16>(param))));
                pendingSkip = state.unicodeSkip;
                continue;
            }
            pendingSkip = 0;
            controlWord(state, word, hasParam, param);
        }
        flush();
        finishParagraph(state);
        dropTrailingParagraph();
        return stack.empty();
    }

private:
    int codePageOf(const GroupState& state) const {
        const auto font = m_fonts.find(state.font >= 0 ? state.font : m_defaultFont);
        if (font != m_fonts.end())
            return codePageOfCharset(font->second.charset, m_codePage);
        return m_codePage;
    }

    void controlWord(GroupState& state, const QString& word, bool hasParam, int param) {
        const bool on = !hasParam || param != 0;
        if (state.destination == Destination::FontTable) {
            if (word == QLatin1String("f")) {
                m_fontNumber = param;
            } else if (word == QLatin1String("fcharset")) {
                m_fonts[m_fontNumber].charset = param;
            }
            return;
        }
        if (state.destination == Destination::ColourTable) {
            if (word == QLatin1String("red"))
                m_colour.setRed(param);
            else if (word == QLatin1String("green"))
                m_colour.setGreen(param);
            else if (word == QLatin1String("blue"))
                m_colour.setBlue(param);
            return;
        }
        if (state.destination == Destination::Skip)
            return;
        if (word == QLatin1String("fonttbl")) {
            state.destination = Destination::FontTable;
        } else if (word == QLatin1String("colortbl")) {
            state.destination = Destination::ColourTable;
            m_colours.clear();
            m_colour = QColor(0, 0, 0);
        } else if (skippedDestination(word)) {
            state.destination = Destination::Skip;
        } else if (word == QLatin1String("ansicpg")) {
            m_codePage = param == 1250 ? 1250 : 1252;
        } else if (word == QLatin1String("deff")) {
            m_defaultFont = param;
        } else if (word == QLatin1String("par")) {
            paragraph(state);
        } else if (word == QLatin1String("line")) {
            text(state, QChar(QChar::LineSeparator));
        } else if (word == QLatin1String("tab")) {
            text(state, QLatin1Char('\t'));
        } else if (word == QLatin1String("emdash")) {
            text(state, QChar(0x2014));
        } else if (word == QLatin1String("endash")) {
            text(state, QChar(0x2013));
        } else if (word == QLatin1String("bullet")) {
            text(state, QChar(0x2022));
        } else if (word == QLatin1String("lquote")) {
            text(state, QChar(0x2018));
        } else if (word == QLatin1String("rquote")) {
            text(state, QChar(0x2019));
        } else if (word == QLatin1String("ldblquote")) {
            text(state, QChar(0x201C));
        } else if (word == QLatin1String("rdblquote")) {
            text(state, QChar(0x201D));
        } else if (word == QLatin1String("b")) {
            state.bold = on;
        } else if (word == QLatin1String("i")) {
            state.italic = on;
        } else if (word == QLatin1String("ul")) {
            state.underline = on;
        } else if (word == QLatin1String("ulnone")) {
            state.underline = false;
        } else if (word == QLatin1String("plain")) {
            state.bold = state.italic = state.underline = false;
            state.font = -1;
            state.halfPoints = 0;
            state.colour = 0;
        } else if (word == QLatin1String("f")) {
            state.font = param;
        } else if (word == QLatin1String("fs")) {
            state.halfPoints = param;
        } else if (word == QLatin1String("cf")) {
            state.colour = param;
        } else if (word == QLatin1String("uc")) {
            state.unicodeSkip = std::max(0, param);
        } else if (word == QLatin1String("pard")) {
            state.alignment = Qt::AlignLeft;
        } else if (word == QLatin1String("ql")) {
            state.alignment = Qt::AlignLeft;
        } else if (word == QLatin1String("qc")) {
            state.alignment = Qt::AlignHCenter;
        } else if (word == QLatin1String("qr")) {
            state.alignment = Qt::AlignRight;
        } else if (word == QLatin1String("qj")) {
            state.alignment = Qt::AlignJustify;
        }
        // Every other control word (page set-up, revision marks, spacing, ...) is left aside.
    }

    void text(const GroupState& state, QChar ch) {
        if (state.destination == Destination::FontTable) {
            if (ch == QLatin1Char(';'))
                endFont();
            else
                m_fontName += ch;
            return;
        }
        if (state.destination == Destination::ColourTable) {
            if (ch == QLatin1Char(';')) {
                m_colours.push_back(m_colour);
                m_colour = QColor(0, 0, 0);
            }
            return;
        }
        if (state.destination == Destination::Skip)
            return;
        const QTextCharFormat format = formatOf(state);
        if (!m_pending.isEmpty() && format != m_pendingFormat)
            flush();
        m_pendingFormat = format;
        m_pending += ch;
        m_alignment = state.alignment;
        m_hasText = true;
    }

    QTextCharFormat formatOf(const GroupState& state) const {
        QTextCharFormat format;
        if (state.bold)
            format.setFontWeight(QFont::Bold);
        if (state.italic)
            format.setFontItalic(true);
        if (state.underline)
            format.setFontUnderline(true);
        if (state.halfPoints > 0)
            format.setFontPointSize(state.halfPoints / 2.0);
        if (state.font >= 0) {
            const auto font = m_fonts.find(state.font);
            if (font != m_fonts.end() && !font->second.name.isEmpty())
                format.setFontFamilies({font->second.name});
        }
        // Entry 0 is the automatic colour.
        if (state.colour > 0 && static_cast<std::size_t>(state.colour) < m_colours.size())
            format.setForeground(m_colours[static_cast<std::size_t>(state.colour)]);
        return format;
    }

    void endFont() {
        m_fonts[m_fontNumber].name = m_fontName.trimmed();
        m_fontName.clear();
    }

    void flush() {
        if (m_pending.isEmpty())
            return;
        m_cursor.insertText(m_pending, m_pendingFormat);
        m_pending.clear();
    }

    void finishParagraph(const GroupState& state) {
        QTextBlockFormat block = m_cursor.blockFormat();
        block.setAlignment(m_hasText ? m_alignment : state.alignment);
        m_cursor.setBlockFormat(block);
    }

    void paragraph(const GroupState& state) {
        if (state.destination != Destination::Text)
            return;
        flush();
        finishParagraph(state);
        m_cursor.insertBlock(QTextBlockFormat(), formatOf(state));
        m_hasText = false;
        m_paragraphEnded = true;
    }

    // A document that ends with \par (as word processors write) gets no empty last paragraph.
    void dropTrailingParagraph() {
        QTextDocument* document = m_cursor.document();
        if (!m_paragraphEnded || document->blockCount() < 2 ||
            !document->lastBlock().text().isEmpty())
            return;
        const QTextBlockFormat kept = document->lastBlock().previous().blockFormat();
        QTextCursor last(document->lastBlock());
        last.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor);
        last.removeSelectedText();
        last.setBlockFormat(kept);
    }

    const QString m_in;
    QTextCursor m_cursor;
    std::map<int, FontEntry> m_fonts;
    int m_fontNumber = 0;
    QString m_fontName;
    std::vector<QColor> m_colours;
    QColor m_colour;
    int m_codePage = 1252;
    int m_defaultFont = 0;
    QString m_pending;
    QTextCharFormat m_pendingFormat;
    Qt::Alignment m_alignment = Qt::AlignLeft;
    bool m_hasText = false;
    bool m_paragraphEnded = false;
};

QString escapeText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (ch == QLatin1Char('\\') || ch == QLatin1Char('{') || ch == QLatin1Char('}')) {
            out += QLatin1Char('\\');
            out += ch;
        } else if (ch == QChar(QChar::LineSeparator) || ch == QLatin1Char('\n')) {
            out += QStringLiteral("\\line ");
        } else if (ch == QLatin1Char('\t')) {
            out += QStringLiteral("\\tab ");
        } else if (u == 0x00A0) {
            out += QStringLiteral("\\~");
        } else if (u >= 0x20 && u < 0x80) {
            out += ch;
        } else if (u < 0x20) {
            continue;
        } else {
            // The Unicode value (signed 16 bits) and the Windows-1250 byte for older readers.
            out += QStringLiteral("\\u%1").arg(static_cast<qint16>(u));
            const int byte = encodeByte(ch);
            out += byte >= 0 ? QStringLiteral("\\'%1").arg(byte, 2, 16, QLatin1Char('0'))
                             : QStringLiteral("?");
        }
    }
    return out;
}

} // namespace

bool looksLikeRtf(const QString& text) {
    return text.trimmed().startsWith(QLatin1String("{\\rtf"));
}

bool read(const QString& rtf, QTextDocument& document) {
    if (!looksLikeRtf(rtf)) {
        document.setPlainText(rtf);
        return true;
    }
    Reader reader(rtf.trimmed(), document);
    return reader.run();
}

QString write(const QTextDocument& document) {
    std::vector<QString> fonts;
    std::vector<QColor> colours;
    const auto fontIndex = [&fonts](const QString& family) {
        for (std::size_t i = 0; i < fonts.size(); ++i)
            if (fonts[i] == family)
                return static_cast<int>(i);
        fonts.push_back(family);
        return static_cast<int>(fonts.size() - 1);
    };
    const auto colourIndex = [&colours](const QColor& colour) {
        for (std::size_t i = 0; i < colours.size(); ++i)
            if (colours[i] == colour)
                return static_cast<int>(i) + 1;
        colours.push_back(colour);
        return static_cast<int>(colours.size());
    };
    fontIndex(document.defaultFont().family());

    QString body;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        body += QStringLiteral("\\pard");
        const Qt::Alignment align = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
        if (align & Qt::AlignHCenter)
            body += QStringLiteral("\\qc");
        else if (align & Qt::AlignRight)
            body += QStringLiteral("\\qr");
        else if (align & Qt::AlignJustify)
            body += QStringLiteral("\\qj");
        body += QLatin1Char(' ');
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QTextCharFormat f = fragment.charFormat();
            QString codes = QStringLiteral("\\plain");
            if (f.hasProperty(QTextFormat::FontFamilies)) {
                const QStringList families = f.fontFamilies().toStringList();
                if (!families.isEmpty())
                    codes += QStringLiteral("\\f%1").arg(fontIndex(families.first()));
            }
            if (f.hasProperty(QTextFormat::FontPointSize) && f.fontPointSize() > 0)
                codes += QStringLiteral("\\fs%1").arg(qRound(f.fontPointSize() * 2));
            if (f.fontWeight() >= QFont::Bold)
                codes += QStringLiteral("\\b");
            if (f.fontItalic())
                codes += QStringLiteral("\\i");
            if (f.fontUnderline())
                codes += QStringLiteral("\\ul");
            if (f.hasProperty(QTextFormat::ForegroundBrush))
                codes += QStringLiteral("\\cf%1").arg(colourIndex(f.foreground().color()));
            body += codes + QLatin1Char(' ') + escapeText(fragment.text());
        }
        body += QStringLiteral("\\par\n");
    }

    QString out = QStringLiteral("{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl");
    for (std::size_t i = 0; i < fonts.size(); ++i)
        out += QStringLiteral("{\\f%1\\fcharset238 %2;}").arg(i).arg(escapeText(fonts[i]));
    out += QStringLiteral("}\n");
    if (!colours.empty()) {
        out += QStringLiteral("{\\colortbl ;");
        for (const QColor& c : colours)
            out += QStringLiteral("\\red%1\\green%2\\blue%3;")
                       .arg(c.red())
                       .arg(c.green())
                       .arg(c.blue());
        out += QStringLiteral("}\n");
    }
    out += QStringLiteral("\\uc1\n") + body + QStringLiteral("}");
    return out;
}

QString plainText(const QString& stored) {
    if (!looksLikeRtf(stored))
        return stored;
    QTextDocument document;
    read(stored, document);
    return document.toPlainText().replace(QChar(QChar::LineSeparator), QLatin1Char('\n'));
}

} // namespace orvento::core::rtf
