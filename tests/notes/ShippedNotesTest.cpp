#include "core/RtfCodec.h"
#include "notes/BuiltInNotes.h"

#include <QDir>
#include <QRegularExpression>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace orvento;

namespace {

// The notes the program ships: every one the index names is there under a name the first start
// copies (`*.rpo`), has a title within the column's width and reads as rich text with its Czech
// letters, for every agenda.
TEST(ShippedNotes, EveryNoteOfTheIndexIsThereAndReadsAsRichText) {
    const QString folder = QStringLiteral(ORVENTO_SOURCE_DIR "/resources/Res/");
    const std::vector<notes::BuiltInNote> shipped = notes::readBuiltInNotes(folder);
    ASSERT_GE(shipped.size(), 4U);
    const QStringList files =
        QDir(folder).entryList({QStringLiteral("*.rpo")}, QDir::Files, QDir::Name);
    EXPECT_EQ(files.size(), static_cast<qsizetype>(shipped.size()) + 1) << "one is the index";
    for (std::size_t i = 0; i < shipped.size(); ++i) {
        const notes::BuiltInNote& note = shipped[i];
        SCOPED_TRACE(note.file.toStdString());
        EXPECT_EQ(note.number, static_cast<int>(i) + 1) << "no gap in the index";
        EXPECT_FALSE(note.title.isEmpty());
        EXPECT_LE(note.title.size(), 50);
        EXPECT_TRUE(note.agenda.isEmpty());
        ASSERT_TRUE(core::rtf::looksLikeRtf(note.text));
        QTextDocument document;
        EXPECT_TRUE(core::rtf::read(note.text, document));
        const QString plain = document.toPlainText();
        EXPECT_GT(plain.size(), 300);
        EXPECT_TRUE(plain.contains(QRegularExpression(QStringLiteral("[ěščřžýáíéůú]"))));
        EXPECT_FALSE(plain.contains(QLatin1Char('\\'))) << "no control word shows as text";
    }
}

} // namespace
