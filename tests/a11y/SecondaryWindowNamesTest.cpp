#include "support/MainWindow.h"

#include <QAccessible>
#include <QDialog>

using namespace Qt::StringLiterals;

namespace {

// The controls of `window` a person can reach, as an assistive tool names them: "objectName=name".
std::string reachableControls(QWidget* window) {
    QStringList found;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        static const QList<QAccessible::Role> reachable{QAccessible::Button,    QAccessible::Slider,
                                                        QAccessible::ScrollBar, QAccessible::List,
                                                        QAccessible::ComboBox,  QAccessible::EditableText};
        if (!w->objectName().isEmpty() && w->isVisible() && a && reachable.contains(a->role())) {
            found << w->objectName() + u'=' + a->text(QAccessible::Name);
        }
    }
    found.sort();
    return found.join(u", "_s).toStdString();
}

} // namespace

// The main window is read over AT-SPI by screen_reader_view.py; its other windows are read here.
using AccessibleNames = testsupport::MainWindowTest;

TEST_F(AccessibleNames, EveryControlOfTheOtherWindowsHasAName) {
    const std::pair<const char*, const char*> windows[] = {
        {"KnopBottom_1", "OkKnop=Ok"},
        {"KnopBottom_4", "CancelKnop=Cancel, ExitKnop=Exit, List1=Gevonden songs, PathKnop=Path, "
                         "SelectAllKnop=Select all, Text1=Zoekwoord, ZoekKnop=Start"},
        {"KnopBottom_7", "CancelKnop=Cancel, List1=Playlists, OkKnop=OK"},
        {"Label6", "CancelKnop=Cancel, OkKnop=Ok, Scroll_1=Rood, Scroll_2=Groen, Scroll_3=Blauw"},
    };
    for (const auto& [name, expected] : windows) {
        std::string controls = "(no window opened)";
        const auto watcher =
            testsupport::onModal<QDialog>([&](QDialog* d) { controls = reachableControls(d); });
        QWidget* opener = control<QWidget>(QLatin1String(name));
        // The colour editor opens from a right-click on an info bar.
        QTest::mouseClick(opener, opener->objectName() == u"Label6" ? Qt::RightButton : Qt::LeftButton,
                          Qt::NoModifier, QPoint(opener->width() - 20, opener->height() / 2));
        EXPECT_EQ(controls, expected) << name;
    }
}
