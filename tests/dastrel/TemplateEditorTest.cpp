#include "dastrel/TemplateEditor.h"
#include "output/DataSetWriter.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvento;

namespace {

output::DataSet noteData() {
    output::ReportTable note(QStringLiteral("mtPoznTisk"));
    note.column(QStringLiteral("Nazev"), output::ColumnType::Text, 50);
    note.set(note.appendRow(), 0, QStringLiteral("Porada"));
    output::DataSet set;
    set.tables.push_back(note);
    return set;
}

QString fileText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

// The editor shows the template, follows the typing (a broken template is named, the last good
// preview stays) and saves the text back to the file.
TEST(TemplateEditor, EditsPreviewsAndSavesBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("POZN.FRX"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[body]\n{{#mtPoznTisk}}<h1>{{Nazev}}</h1>{{/mtPoznTisk}}\n");
    }
    dastrel::TemplateEditor editor(path, noteData());
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    EXPECT_TRUE(editor.textEdit()->toPlainText().contains(QStringLiteral("<h1>{{Nazev}}</h1>")));
    EXPECT_TRUE(editor.problem().isEmpty());

    editor.textEdit()->setPlainText(QStringLiteral("[page]\nsize = B7\n[body]\nx\n"));
    editor.refreshNow();
    EXPECT_TRUE(editor.problem().contains(QStringLiteral("řádek 2")))
        << editor.problem().toStdString();

    const QString good = QStringLiteral("[page]\norientation = landscape\n[body]\n"
                                        "{{#mtPoznTisk}}<p>Téma: {{Nazev}}</p>{{/mtPoznTisk}}\n");
    editor.textEdit()->setPlainText(good);
    // The preview follows once the typing pauses.
    for (int i = 0; i < 50 && !editor.problem().isEmpty(); ++i)
        QTest::qWait(100);
    EXPECT_TRUE(editor.problem().isEmpty());
    QTest::keyClick(editor.textEdit(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(fileText(path), good);
    EXPECT_FALSE(editor.textEdit()->document()->isModified());
    editor.close();
}
