#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace orvento::testsupport {

// A named child widget of a window; fails the test when it is missing.
template <class T> T* child(QWidget* parent, const char* name) {
    T* w = parent->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// Runs `work` on the modal dialog that the next exec() opens.
inline void onNextModal(std::function<void(QWidget*)> work) {
    QTimer::singleShot(0, [work = std::move(work)] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        work(modal);
    });
}

} // namespace orvento::testsupport
