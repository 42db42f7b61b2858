#pragma once

#include "core/UserInteraction.h"
#include "support/QtPrinting.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <optional>
#include <vector>

namespace orvento::testsupport {

// Stands in for the person at the screen: records every message, answers questions and dialogs
// from a script, and fails the test when a question comes that nobody scripted or when a
// scripted answer is left unused at the end. It can press "<zrušit>" at a chosen step of a
// progress scope. A message, question or dialog while a unit of work is open on any connection
// fails the test too: nothing may wait for the person while the write lock is held.
class ScriptedInteraction : public core::UserInteraction {
public:
    enum class Kind { Information, Warning, Error, Question, Problems, Input };
    struct Message {
        Kind kind;
        QString text;
        core::Buttons buttons = core::Buttons::YesNo; // questions only
        core::Answer defaultButton = core::Answer::Yes;
    };

    ScriptedInteraction() = default;
    ~ScriptedInteraction() override;
    ScriptedInteraction(const ScriptedInteraction&) = delete;
    ScriptedInteraction& operator=(const ScriptedInteraction&) = delete;

    void information(const QString& text) override;
    void warning(const QString& text) override;
    void error(const QString& text) override;
    core::Answer ask(const QString& text, core::Buttons buttons,
                     core::Answer defaultButton) override;
    void showProblems(const QString& heading, const QStringList& lines) override;
    void showWait(const QString& text, bool cancellable = false) override;
    void hideWait() override;
    void keepAlive() override;
    void keepStopAlive() override;
    void showProgress(int done, int total) override;
    std::optional<QString> chooseOpenFile(const QString& title, const QString& folder,
                                          const QString& filter) override;
    std::optional<QString> chooseSaveFile(const QString& title, const QString& folder,
                                          const QString& filter) override;
    std::optional<QString> chooseFolder(const QString& title, const QString& folder) override;
    std::optional<int> chooseItem(const QString& title, const QString& label,
                                  const QStringList& items, int current = 0) override;
    std::optional<QString> inputText(const QString& title, const QString& prompt) override;
    std::optional<QString> inputPassword(const QString& title, const QString& prompt) override;

    // Script.
    void answer(bool yes) { m_answers.push_back(yes ? core::Answer::Yes : core::Answer::No); }
    void answer(core::Answer answer) { m_answers.push_back(answer); }
    // Presses "<zrušit>" when a progress scope reports step `step`.
    void cancelAtStep(int step) { m_cancelAtStep = step; }
    // Presses "Přerušit" at the `look`-th look at the stop from inside a unit of work (1 = first).
    void cancelAtStopLook(int look) { m_cancelAtStopLook = look; }
    void chooseFile(std::optional<QString> path) { m_files.push_back(std::move(path)); }
    void chooseIndex(std::optional<int> index) { m_items.push_back(index); }
    void typeText(std::optional<QString> text) { m_typed.push_back(std::move(text)); }
    void typePassword(std::optional<QString> text) { m_passwords.push_back(std::move(text)); }

    // What happened.
    const std::vector<Message>& messages() const { return m_messages; }
    QStringList texts(Kind kind) const;
    QStringList allTexts() const;
    bool saw(Kind kind, const QString& text) const;
    bool sawContaining(Kind kind, const QString& part) const;
    const QStringList& waitTexts() const { return m_waitTexts; }
    bool waitShown() const { return m_waitShown; }
    // Every step a progress scope reported, as (done, total); and how often it kept alive.
    const std::vector<std::pair<int, int>>& progress() const { return m_progress; }
    int keepAlives() const { return m_keepAlives; }
    // How often it kept alive while a unit of work held the write lock (bulk work must not).
    int keepAlivesInUnit() const { return m_keepAlivesInUnit; }
    // How often work looked at the stop from inside a unit of work.
    int stopLooksInUnit() const { return m_stopLooksInUnit; }
    QStringList problemLines() const { return m_problemLines; }
    void clear();

private:
    std::vector<Message> m_messages;
    std::deque<core::Answer> m_answers;
    std::deque<std::optional<QString>> m_files;
    std::deque<std::optional<int>> m_items;
    std::deque<std::optional<QString>> m_typed;
    std::deque<std::optional<QString>> m_passwords;
    QStringList m_waitTexts;
    QStringList m_problemLines;
    bool m_waitShown = false;
    std::vector<std::pair<int, int>> m_progress;
    std::optional<int> m_cancelAtStep;
    int m_keepAlives = 0;
    int m_keepAlivesInUnit = 0;
    std::optional<int> m_cancelAtStopLook;
    int m_stopLooksInUnit = 0;
};

} // namespace orvento::testsupport
