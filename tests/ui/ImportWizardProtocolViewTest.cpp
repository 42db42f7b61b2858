#include "import/ImportProtocol.h"
#include "ui/import/ProtocolView.h"

#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextFragment>

#include <gtest/gtest.h>

using namespace orvento;
using Style = import::ImportProtocol::Style;

namespace {

// The character format of a paragraph's text.
QTextCharFormat formatOfLine(const ui::ProtocolView& view, int line) {
    const QTextBlock block = view.document()->findBlockByNumber(line);
    return block.begin().fragment().charFormat();
}

TEST(ImportProtocolView, ShowsEachLineInItsStyleAndFollowsRemovalsAndClearing) {
    import::ImportProtocol protocol;
    protocol.add(QStringLiteral("už tam"), Style::Bold);
    ui::ProtocolView view;
    view.follow(protocol);
    EXPECT_EQ(view.objectName(), QStringLiteral("reProtocol"));
    EXPECT_TRUE(view.isReadOnly());
    EXPECT_EQ(view.toPlainText(), QStringLiteral("už tam")) << "lines there before are shown";

    protocol.clear();
    EXPECT_TRUE(view.toPlainText().isEmpty());
    protocol.add(QString());
    protocol.add(QStringLiteral("tučně"), Style::Bold);
    protocol.add(QStringLiteral("zeleně"), Style::BoldGreen);
    protocol.add(QStringLiteral("!CHYBA - červeně"), Style::Red);
    protocol.add(QStringLiteral("• [prosím čekejte]"));
    ASSERT_EQ(view.document()->blockCount(), 5) << "an empty first line keeps its paragraph";
    protocol.removeLast();
    EXPECT_EQ(view.toPlainText() + QLatin1Char('\n'), protocol.toPlainText());

    EXPECT_EQ(formatOfLine(view, 1).fontWeight(), QFont::Bold);
    EXPECT_NE(formatOfLine(view, 1).foreground().color(), QColor(Qt::red));
    EXPECT_EQ(formatOfLine(view, 2).fontWeight(), QFont::Bold);
    EXPECT_EQ(formatOfLine(view, 2).foreground().color(), QColor(0, 128, 0));
    EXPECT_EQ(formatOfLine(view, 3).foreground().color(), QColor(Qt::red));
    EXPECT_NE(formatOfLine(view, 3).fontWeight(), QFont::Bold);

    // A line added after a removal takes the plain style again, not its neighbour's.
    protocol.add(QStringLiteral("obyčejně"));
    EXPECT_NE(formatOfLine(view, 4).fontWeight(), QFont::Bold);
    EXPECT_NE(formatOfLine(view, 4).foreground().color(), QColor(Qt::red));
    EXPECT_EQ(view.toPlainText() + QLatin1Char('\n'), protocol.toPlainText());

    while (!protocol.lines().empty())
        protocol.removeLast();
    EXPECT_TRUE(view.toPlainText().isEmpty());
    EXPECT_EQ(view.document()->blockCount(), 1);
}

TEST(ImportProtocolView, LetsGoOfTheProtocolWhenItGoes) {
    import::ImportProtocol protocol;
    {
        ui::ProtocolView view;
        view.follow(protocol);
    }
    protocol.add(QStringLiteral("nikdo se nedívá")); // must not reach the view that is gone
    EXPECT_EQ(protocol.lines().size(), 1U);
}

} // namespace
