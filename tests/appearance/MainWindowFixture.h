#pragma once

// A real main window on the offscreen screen, in a fresh program folder, with a scripted player.

#include "app/Main.h"
#include "support/FakePlayer.h"

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

template <typename P = FakePlayer> class MainWindowFixtureT : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        startMain();
    }
    void TearDown() override { m_main.reset(); }

    void startMain() {
        m_main = std::make_unique<Main>(m_dir.path(), m_player);
        m_main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_main.get()));
    }

    template <typename T> T* control(const QString& name) const {
        T* w = m_main->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }

    QString folder() const { return m_dir.path(); }

    QTemporaryDir m_dir;
    P m_player;
    std::unique_ptr<Main> m_main;
};

using MainWindowFixture = MainWindowFixtureT<>;
