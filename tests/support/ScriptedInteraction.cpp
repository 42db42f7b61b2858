#include "support/ScriptedInteraction.h"

#include "core/Database.h"
#include "core/ProgramState.h"

#include <gtest/gtest.h>

namespace orvento::testsupport {

namespace {

// Whatever waits for the person must wait outside every unit of work: its write lock would keep
// the other workstations' saves waiting until they fail.
void expectNoUnitOpen(const char* what, const QString& text) {
    if (core::Database::anyUnitOpen())
        ADD_FAILURE() << what << " shown while a unit of work is open: " << text.toStdString();
}

} // namespace

void ScriptedInteraction::information(const QString& text) {
    expectNoUnitOpen("information", text);
    m_messages.push_back({Kind::Information, text});
}
void ScriptedInteraction::warning(const QString& text) {
    expectNoUnitOpen("warning", text);
    m_messages.push_back({Kind::Warning, text});
}
void ScriptedInteraction::error(const QString& text) {
    expectNoUnitOpen("error", text);
    m_messages.push_back({Kind::Error, text});
}

ScriptedInteraction::~ScriptedInteraction() {
    // An answer nobody asked for means the code under test skipped a question it should ask.
    if (!m_answers.empty())
        ADD_FAILURE() << m_answers.size() << " scripted answer(s) left unused";
    if (!m_files.empty())
        ADD_FAILURE() << m_files.size() << " scripted file or folder choice(s) left unused";
    if (!m_items.empty())
        ADD_FAILURE() << m_items.size() << " scripted choice(s) left unused";
    if (!m_typed.empty())
        ADD_FAILURE() << m_typed.size() << " scripted typed text(s) left unused";
    if (!m_passwords.empty())
        ADD_FAILURE() << m_passwords.size() << " scripted password(s) left unused";
    if (m_cancelAtStep)
        ADD_FAILURE() << "the cancel scripted at step " << *m_cancelAtStep << " was never reached";
}

core::Answer ScriptedInteraction::ask(const QString& text, core::Buttons buttons,
                                      core::Answer defaultButton) {
    expectNoUnitOpen("question", text);
    m_messages.push_back({Kind::Question, text, buttons, defaultButton});
    if (m_answers.empty()) {
        ADD_FAILURE() << "unscripted question: " << text.toStdString();
        return buttons == core::Buttons::YesNoCancel ? core::Answer::Cancel : core::Answer::No;
    }
    const core::Answer given = m_answers.front();
    m_answers.pop_front();
    if (given == core::Answer::Cancel && buttons != core::Buttons::YesNoCancel)
        ADD_FAILURE() << "Cancel scripted for a Yes/No question: " << text.toStdString();
    return given;
}

void ScriptedInteraction::keepAlive() {
    ++m_keepAlives;
    if (core::Database::anyUnitOpen())
        ++m_keepAlivesInUnit;
}

void ScriptedInteraction::keepStopAlive() {
    if (core::Database::anyUnitOpen())
        ++m_stopLooksInUnit;
    if (m_cancelAtStopLook && --*m_cancelAtStopLook <= 0) {
        m_cancelAtStopLook.reset();
        core::programState().cancelRequested = true;
    }
}

void ScriptedInteraction::showProgress(int done, int total) {
    m_progress.emplace_back(done, total);
    if (m_cancelAtStep && total > 0 && done == *m_cancelAtStep) {
        m_cancelAtStep.reset();
        core::programState().cancelRequested = true;
    }
}

void ScriptedInteraction::showProblems(const QString& heading, const QStringList& lines) {
    expectNoUnitOpen("problem list", heading);
    m_messages.push_back({Kind::Problems, heading});
    m_problemLines = lines;
}

void ScriptedInteraction::showWait(const QString& text, bool) {
    m_waitTexts << text;
    m_waitShown = true;
}

void ScriptedInteraction::hideWait() {
    m_waitShown = false;
}

namespace {
template <typename T> std::optional<T> next(std::deque<std::optional<T>>& queue, const char* what) {
    if (queue.empty()) {
        ADD_FAILURE() << "unscripted " << what;
        return std::nullopt;
    }
    std::optional<T> value;
    value.swap(queue.front());
    queue.pop_front();
    return value;
}
} // namespace

std::optional<QString> ScriptedInteraction::chooseOpenFile(const QString& title, const QString&,
                                                           const QString&) {
    expectNoUnitOpen("file dialog", title);
    return next(m_files, "file dialog");
}
std::optional<QString> ScriptedInteraction::chooseSaveFile(const QString& title, const QString&,
                                                           const QString&) {
    expectNoUnitOpen("file dialog", title);
    return next(m_files, "file dialog");
}
std::optional<QString> ScriptedInteraction::chooseFolder(const QString& title, const QString&) {
    expectNoUnitOpen("folder dialog", title);
    return next(m_files, "folder dialog");
}
std::optional<int> ScriptedInteraction::chooseItem(const QString& title, const QString&,
                                                   const QStringList&, int) {
    expectNoUnitOpen("choice dialog", title);
    return next(m_items, "choice dialog");
}

std::optional<QString> ScriptedInteraction::inputText(const QString&, const QString& prompt) {
    expectNoUnitOpen("input box", prompt);
    m_messages.push_back({Kind::Input, prompt});
    return next(m_typed, "input box");
}

std::optional<QString> ScriptedInteraction::inputPassword(const QString&, const QString& prompt) {
    expectNoUnitOpen("password box", prompt);
    m_messages.push_back({Kind::Input, prompt});
    return next(m_passwords, "password box");
}

QStringList ScriptedInteraction::texts(Kind kind) const {
    QStringList result;
    for (const Message& m : m_messages) {
        if (m.kind == kind)
            result << m.text;
    }
    return result;
}

QStringList ScriptedInteraction::allTexts() const {
    QStringList result;
    for (const Message& m : m_messages)
        result << m.text;
    return result;
}

bool ScriptedInteraction::saw(Kind kind, const QString& text) const {
    return texts(kind).contains(text);
}

bool ScriptedInteraction::sawContaining(Kind kind, const QString& part) const {
    for (const QString& t : texts(kind)) {
        if (t.contains(part))
            return true;
    }
    return false;
}

void ScriptedInteraction::clear() {
    m_messages.clear();
    m_waitTexts.clear();
    m_problemLines.clear();
}

} // namespace orvento::testsupport
