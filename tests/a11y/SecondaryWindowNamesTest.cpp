#include "support/MainWindow.h"
#include "support/Modal.h"

#include <QAccessible>
#include <QDialog>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The controls of `window` a person can reach, as an assistive tool names them: "objectName=name".
std::string reachableControls(QWidget* window) {
    QStringList found;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        if (w->objectName().isEmpty() || !w->isVisible() || !a) {
            continue;
        }
        switch (a->role()) {
        case QAccessible::Button:
        case QAccessible::Slider:
        case QAccessible::ScrollBar:
        case QAccessible::List:
        case QAccessible::ComboBox:
        case QAccessible::EditableText:
            found << w->objectName() + u'=' + a->text(QAccessible::Name);
            break;
        default:
            break;
        }
    }
    found.sort();
    return found.join(u", "_s).toStdString();
}

} // namespace

// The main window is read over AT-SPI by screen_reader_view.py; its other windows are read here.
using AccessibleNames = testsupport::MainWindowTest;

TEST_F(AccessibleNames, EveryControlOfTheOtherWindowsHasAName) {
    const struct {
        const char* opener;
        Qt::MouseButton button;
        const char* controls;
    } windows[] = {
        {"KnopBottom_1", Qt::LeftButton, "OkKnop=Ok"},
        {"KnopBottom_4", Qt::LeftButton,
         "CancelKnop=Cancel, ExitKnop=Exit, List1=Gevonden songs, PathKnop=Path, "
         "SelectAllKnop=Select all, Text1=Zoekwoord, ZoekKnop=Start"},
        {"KnopBottom_7", Qt::LeftButton, "CancelKnop=Cancel, List1=Playlists, OkKnop=OK"},
        {"Label6", Qt::RightButton,
         "CancelKnop=Cancel, OkKnop=Ok, Scroll_1=Rood, Scroll_2=Groen, Scroll_3=Blauw"},
    };
    for (const auto& w : windows) {
        std::string controls;
        bool seen = false;
        const auto watcher = testsupport::onModal<QDialog>([&](QDialog* d) {
            seen = true;
            controls = reachableControls(d);
        });
        QWidget* opener = control<QWidget>(QLatin1String(w.opener));
        // The colour editor opens from a right-click on an info bar.
        QTest::mouseClick(opener, w.button, Qt::NoModifier,
                          QPoint(opener->width() - 20, opener->height() / 2));
        ASSERT_TRUE(seen) << w.opener;
        EXPECT_EQ(controls, w.controls) << w.opener;
    }
}
