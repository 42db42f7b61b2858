#include "catalogue/CatalogueAgenda.h"

#include "core/ProgramState.h"
#include "core/RtfCodec.h"
#include "offers/OfferTemplateCard.h"
#include "services/RecordLock.h"
#include "services/SettingsDialogLogic.h"
#include "support/ModalDialogs.h"
#include "support/TestContext.h"
#include "ui/RichTextEditor.h"
#include "ui/SettingsDialog.h"
#include "ui/offers/OfferCardWindow.h"
#include "ui/offers/OfferTemplateDetailDialog.h"
#include "ui/offers/OfferTemplateListWindow.h"
#include "ui/offers/RichTextEditorDialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>

#include <memory>

#include <gtest/gtest.h>

using namespace orvento;
using core::NavigationStatus;
using offers::OfferTemplate;
using Kind = testsupport::ScriptedInteraction::Kind;

namespace {

// RTF as another word processor writes it: a font and colour table, a generator group, Czech
// letters as escapes of the code page and as \u, bold and italic runs.
const QString kForeignRtf =
    QStringLiteral("{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}}"
                   "{\\colortbl ;\\red255\\green0\\blue0;}{\\*\\generator Jiný editor 5.1;}"
                   "\\viewkind4\\uc1\\pard\\f0\\fs20 V\\'e1\\'9een\\'fd {\\b z\\u225?kazn\\'edku}, "
                   "{\\i\\cf1 d\\u283?kujeme}.\\par}");

std::unique_ptr<QTextDocument> documentOf(const QString& rtf) {
    auto document = std::make_unique<QTextDocument>();
    core::rtf::read(rtf, *document);
    return document;
}

// Types as a person would, Czech letters too (QTest::keyClicks knows only ASCII keys).
void typeInto(QWidget* widget, const QString& text) {
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

bool boldAt(const QTextDocument& document, const QString& text) {
    const QTextCursor found = document.find(text);
    return !found.isNull() && found.charFormat().fontWeight() >= QFont::Bold;
}

bool italicAt(const QTextDocument& document, const QString& text) {
    const QTextCursor found = document.find(text);
    return !found.isNull() && found.charFormat().fontItalic();
}

class OfferTemplateWindowsTest : public testsupport::CatalogueAgenda {
protected:
    void SetUp() override {
        CatalogueAgenda::SetUp();
        if (HasFatalFailure())
            return;
        clearOffersWithNewSeries();
        core::programState().settings.profil.vychoziSablona.clear();
    }
    void TearDown() override { core::programState().settings.profil.vychoziSablona.clear(); }

    qint64 addTemplate(const QString& code, const QString& title, const QString& before,
                       const QString& after = {}) {
        OfferTemplate row;
        row.Zkratka = code;
        row.Nazev = code + QStringLiteral(" – název");
        row.Nadpis = title;
        row.TextPred = before;
        row.TextZa = after;
        EXPECT_TRUE(offers::templateMapping().insert(db(), row));
        return db().newRowId();
    }

    std::unique_ptr<ui::OfferCardWindow> openCard(core::OfferCardMode mode, qint64 id = 0) {
        auto opened = offers::OfferCardLogic::open(test.context, mode, id);
        if (!opened)
            return nullptr;
        auto window = std::make_unique<ui::OfferCardWindow>(test.context, std::move(*opened));
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        return window;
    }

    testsupport::TestContext test{ui};
};

TEST_F(OfferTemplateWindowsTest, EditorGivesAnUntouchedTextBackAsStoredAndKeepsItsFormats) {
    ui::RichTextEditorDialog dialog(kForeignRtf);
    EXPECT_EQ(dialog.objectName(), QStringLiteral("frmEditTRtf"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Editor"));
    dialog.show();
    QTextEdit* text = dialog.editor()->editor();
    EXPECT_EQ(text->toPlainText(), QStringLiteral("Vážený zákazníku, děkujeme."));
    EXPECT_TRUE(boldAt(*text->document(), QStringLiteral("zákazníku")));
    EXPECT_TRUE(italicAt(*text->document(), QStringLiteral("děkujeme")));
    dialog.accept();
    EXPECT_EQ(dialog.rtf(), kForeignRtf);

    // Typed into: written anew, with the old formats and the new bold word.
    ui::RichTextEditorDialog edited(kForeignRtf);
    edited.show();
    edited.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&edited));
    QTextEdit* into = edited.editor()->editor();
    into->setFocus();
    into->moveCursor(QTextCursor::End);
    typeInto(into, QStringLiteral(" Za"));
    QTest::keyClick(into, Qt::Key_B, Qt::ControlModifier);
    typeInto(into, QStringLiteral("čněte"));
    const QString written = edited.rtf();
    EXPECT_NE(written, kForeignRtf);
    const auto back = documentOf(written);
    EXPECT_EQ(back->toPlainText(), QStringLiteral("Vážený zákazníku, děkujeme. Začněte"));
    EXPECT_TRUE(boldAt(*back, QStringLiteral("zákazníku")));
    EXPECT_TRUE(italicAt(*back, QStringLiteral("děkujeme")));
    EXPECT_TRUE(boldAt(*back, QStringLiteral("čněte")));
    EXPECT_FALSE(boldAt(*back, QStringLiteral("Vážený")));
}

TEST_F(OfferTemplateWindowsTest, FontChoiceSetsFamilySizeStyleAndColour) {
    ui::RichTextEditor editor;
    editor.setRtf(QStringLiteral("{\\rtf1\\ansi Šablona\\par}"));
    editor.show();
    editor.editor()->selectAll();
    QFont font(QStringLiteral("Courier New"));
    font.setPointSize(14);
    font.setItalic(true);
    editor.applyFont(font, QColor(Qt::darkBlue));
    const auto back = documentOf(editor.rtf());
    const QTextCharFormat format = back->find(QStringLiteral("Šablona")).charFormat();
    EXPECT_TRUE(format.fontItalic());
    EXPECT_EQ(format.fontPointSize(), 14);
    EXPECT_EQ(format.foreground().color(), QColor(Qt::darkBlue));
    EXPECT_TRUE(format.fontFamilies().toStringList().contains(QStringLiteral("Courier New")));
}

TEST_F(OfferTemplateWindowsTest, DetailSavesWhatIsTypedAndStaysOpenOnATakenAbbreviation) {
    addTemplate(QStringLiteral("ŘEMESLO"), QStringLiteral("Nabídka"), {});
    offers::OfferTemplateCard card(db(), ui);
    card.startNew();
    int edits = 0;
    ui::OfferTemplateDetailDialog dialog(card, nullptr, [&edits](const QString& stored) {
        ++edits;
        EXPECT_TRUE(stored.isEmpty());
        return std::optional<QString>(QStringLiteral("{\\rtf1\\ansi {\\b Úvodní} text\\par}"));
    });
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Detail šablony"));
    dialog.show();
    EXPECT_EQ(dialog.codeField()->maxLength(), 10);
    typeInto(dialog.codeField(), QStringLiteral("  řemeslo "));
    typeInto(dialog.nameField(), QStringLiteral("Řemeslné \"práce\""));
    typeInto(dialog.titleField(), QStringLiteral("Nabídka prací"));
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("btnTextPred")),
                      Qt::LeftButton);
    EXPECT_EQ(edits, 1);
    EXPECT_EQ(dialog.beforePreview()->toPlainText(), QStringLiteral("Úvodní text"));
    EXPECT_TRUE(dialog.beforePreview()->isReadOnly());

    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(
        ui.saw(Kind::Information,
               QStringLiteral("Zkratka \"řemeslo\" již v seznamu existuje, zadejte jinou.")));
    dialog.codeField()->selectAll();
    typeInto(dialog.codeField(), QStringLiteral(" PRACE "));
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const auto stored = offers::templateById(db(), card.id());
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->Zkratka, QStringLiteral("PRACE"));
    EXPECT_EQ(stored->Nazev, QStringLiteral("Řemeslné \"práce\""));
    EXPECT_EQ(stored->Nadpis, QStringLiteral("Nabídka prací"));
    EXPECT_EQ(core::rtf::plainText(stored->TextPred), QStringLiteral("Úvodní text"));
}

TEST_F(OfferTemplateWindowsTest, DetailOfATemplateEditedElsewhereCannotBeSaved) {
    const qint64 id = addTemplate(QStringLiteral("STD"), QStringLiteral("Nabídka"), {});
    services::RecordLock elsewhere;
    ASSERT_EQ(services::RecordLock::take(QStringLiteral("NabSablony"), id, ui, elsewhere),
              services::RecordLock::State::Held);
    offers::OfferTemplateCard card(db(), ui);
    ASSERT_TRUE(card.startExisting(id));
    ui::OfferTemplateDetailDialog dialog(card, nullptr, [](const QString&) {
        ADD_FAILURE() << "the editor opened on a read-only template";
        return std::optional<QString>();
    });
    EXPECT_FALSE(dialog.okButton()->isEnabled());
    dialog.editText(&OfferTemplate::TextZa);
}

TEST_F(OfferTemplateWindowsTest, ListChoosesManagesAndDisablesItsCommandsWhileEmpty) {
    ui::OfferTemplateListWindow empty(test.context, offers::TemplateListMode::Select);
    EXPECT_EQ(empty.objectName(), QStringLiteral("frmSablony"));
    EXPECT_EQ(empty.windowTitle(), QStringLiteral("Šablony"));
    for (const char* name : {"btnOK", "btnOpravit", "btnVyjmout"})
        EXPECT_FALSE(empty.button(QString::fromLatin1(name))->isEnabled()) << name;
    EXPECT_TRUE(empty.button(QStringLiteral("btnPridat"))->isEnabled());

    addTemplate(QStringLiteral("SERVIS"), QStringLiteral("Servis"), {});
    const qint64 standard = addTemplate(QStringLiteral("STD"), QStringLiteral("Nabídka"), {});
    ui::OfferTemplateListWindow list(test.context, offers::TemplateListMode::Select);
    list.show();
    list.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
    ASSERT_EQ(list.table()->rowCount(), 2);
    EXPECT_TRUE(list.button(QStringLiteral("btnOK"))->isEnabled());
    list.table()->setFocus();
    list.table()->setCurrentCell(1, 0);
    QTest::keyClick(list.table(), Qt::Key_Return);
    EXPECT_EQ(list.result(), QDialog::Accepted);
    ASSERT_TRUE(list.list().current());
    EXPECT_EQ(list.list().current()->ID, standard);

    // "Vyjmout" asks nothing; the last one gone, the commands are off again.
    ui::OfferTemplateListWindow manage(test.context, offers::TemplateListMode::Manage);
    manage.show();
    QTest::mouseClick(manage.button(QStringLiteral("btnVyjmout")), Qt::LeftButton);
    QTest::mouseClick(manage.button(QStringLiteral("btnVyjmout")), Qt::LeftButton);
    EXPECT_EQ(manage.table()->rowCount(), 0);
    EXPECT_FALSE(manage.button(QStringLiteral("btnOpravit"))->isEnabled());
    EXPECT_TRUE(ui.texts(Kind::Question).isEmpty());
}

TEST_F(OfferTemplateWindowsTest, NewOfferCardShowsTheDefaultTemplate) {
    addTemplate(QStringLiteral("STD"), QStringLiteral("Cenová nabídka"),
                QStringLiteral("{\\rtf1\\ansi Dobrý den, {\\b nabízíme}\\par}"));
    core::programState().settings.profil.vychoziSablona = QStringLiteral("std");
    auto window = openCard(core::OfferCardMode::New);
    ASSERT_TRUE(window);
    EXPECT_EQ(window->textBefore()->toPlainText(), QStringLiteral("Dobrý den, nabízíme"));
    EXPECT_TRUE(boldAt(*window->textBefore()->document(), QStringLiteral("nabízíme")));
    EXPECT_EQ(window->field(QStringLiteral("Nadpis"))->text(), QStringLiteral("Cenová nabídka"));
    EXPECT_FALSE(window->logic().changed());
}

TEST_F(OfferTemplateWindowsTest, CardAppliesTwoTemplatesWithOneQuestion) {
    const qint64 first = addTemplate(QStringLiteral("STD"), QStringLiteral("Cenová nabídka"),
                                     QStringLiteral("{\\rtf1\\ansi Úvod první\\par}"),
                                     QStringLiteral("{\\rtf1\\ansi Závěr první\\par}"));
    const qint64 second = addTemplate(QStringLiteral("SERVIS"), QStringLiteral("Nabídka servisu"),
                                      QStringLiteral("{\\rtf1\\ansi Úvod servisu\\par}"));
    auto window = openCard(core::OfferCardMode::New);
    ASSERT_TRUE(window);
    window->textAfter()->setFocus();
    typeInto(window->textAfter(), QStringLiteral("Vlastní závěr"));

    ASSERT_TRUE(window->button(QStringLiteral("btnSablony"))->isEnabled());
    test.navigator.answerWindow({NavigationStatus::Done, {first}});
    ui.answer(true);
    QTest::mouseClick(window->button(QStringLiteral("btnSablony")), Qt::LeftButton);
    EXPECT_EQ(window->textBefore()->toPlainText(), QStringLiteral("Úvod první"));
    EXPECT_EQ(window->textAfter()->toPlainText(), QStringLiteral("Závěr první"));

    test.navigator.answerWindow({NavigationStatus::Done, {second}});
    QTest::keyClick(window.get(), Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(window->textBefore()->toPlainText(), QStringLiteral("Úvod servisu"));
    EXPECT_TRUE(window->textAfter()->toPlainText().isEmpty());
    EXPECT_EQ(window->field(QStringLiteral("Nadpis"))->text(), QStringLiteral("Nabídka servisu"));
    EXPECT_EQ(ui.texts(Kind::Question).size(), 1);
    EXPECT_EQ(test.navigator.count(QStringLiteral("pickOfferTemplate")), 2);

    // The applied texts are what the offer stores, as the template had them.
    QTest::mouseClick(window->button(QStringLiteral("btnOK")), Qt::LeftButton);
    ASSERT_TRUE(window->logic().savedId());
    EXPECT_EQ(value(QStringLiteral("SELECT TextPred FROM Nabidky WHERE ID = :ID"),
                    {{QStringLiteral("ID"), *window->logic().savedId()}})
                  .toString(),
              QStringLiteral("{\\rtf1\\ansi Úvod servisu\\par}"));
}

} // namespace

namespace {

TEST_F(OfferTemplateWindowsTest, SettingsTakeTheChosenTemplatesAbbreviation) {
    const qint64 id = addTemplate(QStringLiteral("SERVIS"), QStringLiteral("Servis"), {});
    services::SettingsDialogLogic logic(test.context);
    ASSERT_TRUE(logic.load());
    ui::SettingsDialog dialog(logic, test.context);
    dialog.show();
    auto* use = dialog.findChild<QCheckBox*>(QStringLiteral("chckSablona"));
    auto* code = dialog.findChild<QLineEdit*>(QStringLiteral("edtSablona"));
    auto* pick = dialog.findChild<QToolButton*>(QStringLiteral("btnSablona"));
    ASSERT_TRUE(use && code && pick);
    use->setChecked(true);
    ASSERT_TRUE(pick->isEnabled());
    core::NavigationResult chosen{NavigationStatus::Done, {id}};
    chosen.code = QStringLiteral("SERVIS");
    test.navigator.answerWindow(chosen);
    QTest::mouseClick(pick, Qt::LeftButton);
    EXPECT_EQ(code->text(), QStringLiteral("SERVIS"));
    // Cancelled: the abbreviation stays.
    test.navigator.answerWindow({NavigationStatus::Cancelled, {}});
    QTest::mouseClick(pick, Qt::LeftButton);
    EXPECT_EQ(code->text(), QStringLiteral("SERVIS"));
    EXPECT_EQ(logic.values().profil.vychoziSablona, QStringLiteral("SERVIS"));
}

} // namespace
