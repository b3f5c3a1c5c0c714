#pragma once

// A real main window on the offscreen screen, in a fresh program folder, with a scripted player
// (or any other MediaPlayer type that can be made without arguments). With it come the classes of
// the controls it hands out and the answering of modal windows, which every window test needs.

#include "FakePlayer.h"
#include "Fixtures.h"
#include "Modal.h"
#include "app/Main.h"
#include "common/MainControls.h"
#include "playlist/PlaylistModel.h"
#include "widgets/PictureButton.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QSlider>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include <memory>

namespace testsupport {

template <typename P = FakePlayer> class MainWindowTestT : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        startMain();
    }
    void TearDown() override { m_main.reset(); }

    // A new Main on the same folder and player, as at the next start of the program.
    void startMain() {
        m_main.reset();
        m_main = std::make_unique<Main>(m_dir.path(), m_player);
        m_main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_main.get()));
    }

    const MainControls& c() const { return m_main->controls(); }
    // The control `name` of the main window, or of `window` when one is given.
    template <typename T = QWidget> T* control(const QString& name, const QWidget* window = nullptr) const {
        T* w = (window ? window : m_main.get())->template findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    QString folder() const { return m_dir.path(); }
    PlaylistModel& playlist() const { return m_main->playlist(); }
    // Writes `bytes` to `relative` in the test's own folder of songs (m_songs); its path.
    QString song(const QString& relative, const QByteArray& bytes = {}) {
        EXPECT_TRUE(fixtures::writeFile(m_songs.filePath(relative), bytes)) << relative.toStdString();
        return m_songs.filePath(relative);
    }
    QStringList playlistNames() const { return fixtures::rowTexts(playlist()); }

    QTemporaryDir m_dir;
    QTemporaryDir m_songs;
    P m_player;
    std::unique_ptr<Main> m_main;
};

using MainWindowTest = MainWindowTestT<>;

} // namespace testsupport
