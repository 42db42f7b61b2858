#pragma once

#include "core/Database.h"
#include "core/ProgramState.h"
#include "notes/NoteList.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace orvento::testsupport {

// A data folder with the global database and the agenda DEMO open, a logged-in user 7 and the
// notes list of the desktop.
class NotesFixture : public ::testing::Test {
protected:
    static constexpr int kUser = 7;

    void SetUp() override {
        env.useDataFolder();
        ASSERT_TRUE(openEmptyAgendaAndGlobal(env, QStringLiteral("DEMO")));
        QDir().mkpath(core::programState().folders.lock);
        core::programState().user.uzivId = kUser;
    }
    void TearDown() override { core::resetProgramState(); }

    static core::Database& global() { return core::programState().db->global; }

    void writeFile(const QString& name, const QByteArray& content) const {
        QFile f(env.dataFolder() + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    bool exists(const QString& name) const { return QFile::exists(env.dataFolder() + name); }

    struct Note {
        explicit Note(QString title)
            : nazev(std::move(title)) {}
        Note& inFirm(const QString& agenda) {
            firma = agenda;
            return *this;
        }
        Note& privateOf(int user) {
            zobrazOst = false;
            author = user;
            return *this;
        }
        Note& settled() {
            vyrizeno = true;
            return *this;
        }
        Note& text(const QString& rtf) {
            detail = rtf;
            return *this;
        }
        QString nazev;
        QString firma;
        bool zobrazOst = true;
        int author = kUser;
        bool vyrizeno = false;
        QString detail = QStringLiteral("text");
    };
    static qint64 insert(const Note& n) {
        EXPECT_TRUE(global().execute(
            QStringLiteral("INSERT INTO Poznamky (Nazev, Detail, Firma, ZobrazOst, VytvorID, "
                           "Vyrizeno) VALUES (:N, :D, :F, :Z, :V, :S)"),
            {{QStringLiteral("N"), n.nazev},
             {QStringLiteral("D"), n.detail},
             {QStringLiteral("F"), n.firma},
             {QStringLiteral("Z"), n.zobrazOst},
             {QStringLiteral("V"), n.author},
             {QStringLiteral("S"), n.vyrizeno}}))
            << global().lastError().toStdString();
        return global().newRowId();
    }

    QStringList titles() const {
        QStringList shown;
        for (int i = 0; i < notes.rowCount(); ++i)
            shown << notes.row(i).Nazev;
        return shown;
    }

    TestEnvironment env;
    ScriptedInteraction ui;
    TestContext test{ui};
    notes::NoteList notes{test.context};
};

} // namespace orvento::testsupport
