#pragma once

#include "core/UserInteraction.h"

namespace orvento::core {

// For work nobody watches (building the templates, a helper process): nothing is shown, every
// question is answered No and every dialog cancelled; whether an error was reported is kept.
class SilentInteraction : public UserInteraction {
public:
    void information(const QString&) override {}
    void warning(const QString&) override {}
    void error(const QString&) override { m_errorShown = true; }
    Answer ask(const QString&, Buttons, Answer) override { return Answer::No; }
    void showProblems(const QString&, const QStringList&) override {}
    void showWait(const QString&, bool) override {}
    void hideWait() override {}
    void keepAlive() override {}
    void showProgress(int, int) override {}
    std::optional<QString> chooseOpenFile(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> chooseSaveFile(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> chooseFolder(const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<int> chooseItem(const QString&, const QString&, const QStringList&,
                                  int) override {
        return std::nullopt;
    }
    // Nobody can type a password here: the work that needs one is cancelled.
    std::optional<QString> inputPassword(const QString&, const QString&) override {
        return std::nullopt;
    }

    bool errorShown() const { return m_errorShown; }

private:
    bool m_errorShown = false;
};

} // namespace orvento::core
