#include "support/ScriptedInteraction.h"

#include <gtest/gtest.h>

namespace orvento::testsupport {

void ScriptedInteraction::information(const QString& text) {
    m_messages.push_back({Kind::Information, text});
}
void ScriptedInteraction::warning(const QString& text) {
    m_messages.push_back({Kind::Warning, text});
}
void ScriptedInteraction::error(const QString& text) {
    m_messages.push_back({Kind::Error, text});
}

bool ScriptedInteraction::question(const QString& text) {
    m_messages.push_back({Kind::Question, text});
    if (m_answers.empty()) {
        ADD_FAILURE() << "unscripted question: " << text.toStdString();
        return false;
    }
    const bool yes = m_answers.front();
    m_answers.pop_front();
    return yes;
}

void ScriptedInteraction::showProblems(const QString& heading, const QStringList& lines) {
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

std::optional<QString> ScriptedInteraction::chooseOpenFile(const QString&, const QString&,
                                                           const QString&) {
    return next(m_files, "file dialog");
}
std::optional<QString> ScriptedInteraction::chooseSaveFile(const QString&, const QString&,
                                                           const QString&) {
    return next(m_files, "file dialog");
}
std::optional<QString> ScriptedInteraction::chooseFolder(const QString&, const QString&) {
    return next(m_files, "folder dialog");
}
std::optional<int> ScriptedInteraction::chooseItem(const QString&, const QString&,
                                                   const QStringList&, int) {
    return next(m_items, "choice dialog");
}

std::optional<QString> ScriptedInteraction::inputText(const QString&, const QString& prompt) {
    m_messages.push_back({Kind::Input, prompt});
    return next(m_typed, "input box");
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
