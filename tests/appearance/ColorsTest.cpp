#include "MainWindowFixture.h"
#include "ModalHelper.h"

#include "appearance/Colors.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QToolTip>
#include <QTreeView>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct EditorView {
    QString title;
    QPoint topLeft;
    int red = -1, green = -1, blue = -1;
    QString label5, label6, label7;
    QColor preview;
    bool flags[4] = {};
};

QScrollBar* bar(QWidget* editor, int i) {
    return editor->findChild<QScrollBar*>(QStringLiteral("Scroll_%1").arg(i));
}
QLabel* label(QWidget* editor, const char* name) {
    return editor->findChild<QLabel*>(QLatin1String(name));
}

class ColorsTest : public MainWindowFixture {
protected:
    // The four right-click targets, as the user sees them.
    QWidget* target(const QString& name) {
        if (name == QLatin1String("List1") || name == QLatin1String("List2")) {
            return control<QListView>(name)->viewport();
        }
        return control<QWidget>(name);
    }

    // Clicks `button` on `name` at `pos`; when an editor opens, records it, runs `act` on it and
    // (unless `act` closed it) presses Cancel.
    std::shared_ptr<modal::Outcome> click(const QString& name, Qt::MouseButton button, QPoint pos,
                                          std::function<void(QDialog*)> act = {},
                                          EditorView* view = nullptr) {
        ProgramState* state = &m_main->state();
        const auto outcome = modal::answer<QDialog>(
            [act, view, state](QDialog* editor) {
                if (view) {
                    view->title = editor->windowTitle();
                    view->topLeft = editor->frameGeometry().topLeft();
                    view->red = bar(editor, 1)->value();
                    view->green = bar(editor, 2)->value();
                    view->blue = bar(editor, 3)->value();
                    view->label5 = label(editor, "Label5")->text();
                    view->label6 = label(editor, "Label6")->text();
                    view->label7 = label(editor, "Label7")->text();
                    view->preview = label(editor, "Label8")->palette().color(QPalette::Window);
                    view->flags[0] = state->editLeft;
                    view->flags[1] = state->editRight;
                    view->flags[2] = state->editInfoBars;
                    view->flags[3] = state->editTexts;
                }
                if (act) {
                    act(editor);
                }
                if (editor->isVisible()) {
                    editor->findChild<QPushButton*>(QStringLiteral("CancelKnop"))->click();
                }
            },
            500);
        QTest::mouseClick(target(name), button, Qt::NoModifier, pos);
        QTest::qWait(1);
        return outcome;
    }

    bool anyFlag() const {
        const ProgramState& s = m_main->state();
        return s.editLeft || s.editRight || s.editInfoBars || s.editTexts;
    }

    QColor base(const char* name) {
        return control<QWidget>(QLatin1String(name))->palette().color(QPalette::Base);
    }
    QColor window(const char* name) {
        return control<QWidget>(QLatin1String(name))->palette().color(QPalette::Window);
    }
    QColor text(const char* name) {
        return control<QWidget>(QLatin1String(name))->palette().color(QPalette::WindowText);
    }

    static void setBars(QDialog* editor, int r, int g, int b) {
        bar(editor, 1)->setValue(r);
        bar(editor, 2)->setValue(g);
        bar(editor, 3)->setValue(b);
    }
    static void ok(QDialog* editor) { editor->findChild<QPushButton*>(QStringLiteral("OkKnop"))->click(); }
};

} // namespace

TEST_F(ColorsTest, OnlyTheRightButtonOpensTheEditor) {
    for (const char* name : {"List1", "List2", "Label6", "InfoLabel"}) {
        for (Qt::MouseButton button : {Qt::LeftButton, Qt::MiddleButton}) {
            modal::Watchdog watchdog;
            QTest::mouseClick(target(QLatin1String(name)), button, Qt::NoModifier, QPoint(5, 5));
            QTest::qWait(10);
            EXPECT_EQ(watchdog.count(), 0) << name << " button " << button;
            EXPECT_FALSE(anyFlag());
        }
    }
    const struct {
        const char* name;
        const char* caption;
        int flag;
    } targets[] = {{"List1", " Kleuren links", 0},
                   {"List2", " Kleuren rechts", 1},
                   {"Label6", " Kleuren infobalken", 2},
                   {"InfoLabel", " Kleuren teksten", 3}};
    for (const auto& t : targets) {
        EditorView view;
        const auto outcome = click(QLatin1String(t.name), Qt::RightButton, QPoint(5, 5), {}, &view);
        ASSERT_TRUE(outcome->seen) << t.name;
        EXPECT_EQ(view.title, QLatin1String(t.caption));
        for (int f = 0; f < 4; ++f) {
            EXPECT_EQ(view.flags[f], f == t.flag) << t.name << " flag " << f;
        }
        EXPECT_FALSE(anyFlag()) << "Cancel clears the flags";
    }
}

TEST_F(ColorsTest, TheEditorShowsTheEditedTriple) {
    EditorView view;
    ASSERT_TRUE(click(QStringLiteral("List2"), Qt::RightButton, QPoint(10, 80), {}, &view)->seen);
    const ColourTriple right = m_main->state().settings.rightColour;
    EXPECT_EQ(view.red, right.red);
    EXPECT_EQ(view.green, right.green);
    EXPECT_EQ(view.blue, right.blue);
    EXPECT_EQ(view.label5, QString::number(right.red));
    EXPECT_EQ(view.label6, QString::number(right.green));
    EXPECT_EQ(view.label7, QString::number(right.blue));
    EXPECT_EQ(view.preview, QColor(right.red, right.green, right.blue));
}

TEST_F(ColorsTest, CancelKeepsTheColoursAndTheNextOpeningShowsTheOldValue) {
    const Settings before = m_main->state().settings;
    const QColor list2 = base("List2");
    EditorView during;
    ASSERT_TRUE(click(QStringLiteral("List2"), Qt::RightButton, QPoint(10, 80), [&during](QDialog* editor) {
                    bar(editor, 1)->setValue(0);
                    during.label5 = label(editor, "Label5")->text();
                    during.preview = label(editor, "Label8")->palette().color(QPalette::Window);
                    editor->findChild<QPushButton*>(QStringLiteral("CancelKnop"))->click();
                })->seen);
    EXPECT_EQ(during.label5, QStringLiteral("0"));
    EXPECT_EQ(during.preview.red(), 0);
    EXPECT_EQ(base("List2"), list2);
    EXPECT_EQ(m_main->state().settings, before);

    EditorView again;
    ASSERT_TRUE(click(QStringLiteral("List2"), Qt::RightButton, QPoint(10, 80), {}, &again)->seen);
    EXPECT_EQ(again.red, before.rightColour.red);
}

TEST_F(ColorsTest, OkRecoloursOnlyItsOwnPane) {
    const QColor left = base("List1"), bars = window("Label6"), texts = text("InfoLabel");
    ASSERT_TRUE(click(QStringLiteral("List2"), Qt::RightButton, QPoint(10, 80), [](QDialog* e) {
                    setBars(e, 255, 0, 0);
                    ok(e);
                })->seen);
    EXPECT_FALSE(anyFlag());
    EXPECT_EQ(m_main->state().settings.rightColour, (ColourTriple{255, 0, 0}));
    EXPECT_EQ(base("List2"), QColor(255, 0, 0));
    EXPECT_EQ(base("Text1"), QColor(255, 0, 0));
    EXPECT_EQ(base("List1"), left);
    EXPECT_EQ(window("Label6"), bars);
    EXPECT_EQ(text("InfoLabel"), texts);
    // What a person sees: the empty playlist is red.
    const QImage shown = control<QWidget>(QStringLiteral("List2"))->grab().toImage();
    EXPECT_EQ(shown.pixelColor(shown.width() / 2, shown.height() / 2), QColor(255, 0, 0));

    // The texts pane changes the text colour of its three labels, not their backgrounds.
    const QColor infoBack = window("InfoLabel");
    ASSERT_TRUE(click(QStringLiteral("InfoLabel"), Qt::RightButton, QPoint(3, 3), [](QDialog* e) {
                    setBars(e, 0, 0, 255);
                    ok(e);
                })->seen);
    for (const char* name : {"TellerLabel", "InfoLabel", "Label10"}) {
        EXPECT_EQ(text(name), QColor(0, 0, 255)) << name;
    }
    EXPECT_EQ(window("InfoLabel"), infoBack);
    EXPECT_EQ(base("List2"), QColor(255, 0, 0));

    ASSERT_TRUE(click(QStringLiteral("Label6"), Qt::RightButton, QPoint(400, 10), [](QDialog* e) {
                    setBars(e, 1, 2, 3);
                    ok(e);
                })->seen);
    for (const char* name : {"Label1", "Label6", "Label9"}) {
        EXPECT_EQ(window(name), QColor(1, 2, 3)) << name;
    }
    ASSERT_TRUE(click(QStringLiteral("List1"), Qt::RightButton, QPoint(10, 10), [](QDialog* e) {
                    setBars(e, 9, 8, 7);
                    ok(e);
                })->seen);
    for (const char* name : {"Drive1", "Dir1", "List1"}) {
        EXPECT_EQ(base(name), QColor(9, 8, 7)) << name;
    }
    EXPECT_EQ(m_main->state().settings.leftColour, (ColourTriple{9, 8, 7}));
    EXPECT_EQ(m_main->state().settings.infoBarColour, (ColourTriple{1, 2, 3}));
    EXPECT_EQ(m_main->state().settings.textColour, (ColourTriple{0, 0, 255}));
}

TEST_F(ColorsTest, ValueLabelsShowPlainNumbers) {
    EditorView view;
    ASSERT_TRUE(click(QStringLiteral("List1"), Qt::RightButton, QPoint(5, 5), [&view](QDialog* e) {
                    setBars(e, 0, 7, 42);
                    view.label5 = label(e, "Label5")->text();
                    view.label6 = label(e, "Label6")->text();
                    view.label7 = label(e, "Label7")->text();
                    view.preview = label(e, "Label8")->palette().color(QPalette::Window);
                    // One step per arrow click and per click beside the thumb.
                    QScrollBar* red = bar(e, 1);
                    red->triggerAction(QAbstractSlider::SliderSingleStepAdd);
                    red->triggerAction(QAbstractSlider::SliderPageStepAdd);
                    view.red = red->value();
                    view.title = label(e, "Label5")->text();
                })->seen);
    EXPECT_EQ(view.label5, QStringLiteral("0"));
    EXPECT_EQ(view.label6, QStringLiteral("7"));
    EXPECT_EQ(view.label7, QStringLiteral("42"));
    EXPECT_EQ(view.preview, QColor(0, 7, 42));
    EXPECT_EQ(view.red, 2);
    EXPECT_EQ(view.title, QStringLiteral("2"));
}

TEST_F(ColorsTest, ClosingTheEditorByItsFrameActsAsCancel) {
    const Settings before = m_main->state().settings;
    ASSERT_TRUE(click(QStringLiteral("Label6"), Qt::RightButton, QPoint(5, 5), [](QDialog* e) {
                    setBars(e, 10, 20, 30);
                    e->close();
                })->seen);
    EXPECT_FALSE(anyFlag());
    EXPECT_EQ(m_main->state().settings, before);
    ASSERT_TRUE(click(QStringLiteral("InfoLabel"), Qt::RightButton, QPoint(5, 5), [](QDialog* e) {
                    setBars(e, 10, 20, 30);
                    QTest::keyClick(e, Qt::Key_Escape);
                })->seen);
    EXPECT_FALSE(anyFlag());
    EXPECT_EQ(m_main->state().settings, before);

    // The next Ok changes one pane only: no flag was left behind.
    ASSERT_TRUE(click(QStringLiteral("List1"), Qt::RightButton, QPoint(5, 5), [](QDialog* e) {
                    setBars(e, 50, 60, 70);
                    ok(e);
                })->seen);
    Settings expected = before;
    expected.leftColour = ColourTriple{50, 60, 70};
    EXPECT_EQ(m_main->state().settings, expected);
}

TEST_F(ColorsTest, PlacedByTheClickPositionAndKeptOnScreen) {
    auto* list1 = control<QListView>(QStringLiteral("List1"));
    const QPoint inList1 = list1->viewport()->mapTo(list1, QPoint(30, 40));
    const QRect screen = m_main->screen()->geometry();
    EditorView view;
    ASSERT_TRUE(click(QStringLiteral("List1"), Qt::RightButton, QPoint(30, 40), {}, &view)->seen);
    EXPECT_EQ(view.topLeft, screen.topLeft() + inList1 + QPoint(0, 160));

    auto* list2 = control<QListView>(QStringLiteral("List2"));
    const QPoint inList2 = list2->viewport()->mapTo(list2, QPoint(20, 20));
    ASSERT_TRUE(click(QStringLiteral("List2"), Qt::RightButton, QPoint(20, 20), {}, &view)->seen);
    // 750 twips above the click would be above the screen.
    EXPECT_EQ(view.topLeft,
              QPoint(screen.left() + inList2.x() + 400, m_main->screen()->availableGeometry().top()));

    ASSERT_TRUE(click(QStringLiteral("Label6"), Qt::RightButton, QPoint(7, 9), {}, &view)->seen);
    EXPECT_EQ(view.topLeft, screen.topLeft() + QPoint(7, 9 + 480));
}

TEST_F(ColorsTest, OutOfRangeTriplesFromAHandEditedFileAreShownClamped) {
    m_main->state().settings.leftColour = ColourTriple{300, -5, 128};
    EditorView view;
    ASSERT_TRUE(click(QStringLiteral("List1"), Qt::RightButton, QPoint(5, 5), {}, &view)->seen);
    EXPECT_EQ(view.red, 255);
    EXPECT_EQ(view.green, 0);
    EXPECT_EQ(view.blue, 128);
    EXPECT_EQ(view.label5, QStringLiteral("255"));
    EXPECT_EQ(view.label6, QStringLiteral("0"));
    // Cancel stores nothing: the odd triple stays as read.
    EXPECT_EQ(m_main->state().settings.leftColour, (ColourTriple{300, -5, 128}));
}

TEST_F(ColorsTest, TheInfoBarBesideTheInfoTextIsTheBarItself) {
    // Where the user sees the bar: near its right end, clear of the designed info text.
    auto* label6 = control<QLabel>(QStringLiteral("Label6"));
    const QPoint onBar = label6->mapTo(m_main.get(), QPoint(label6->width() - 20, label6->height() / 2));
    QWidget* hit = m_main->childAt(onBar);
    ASSERT_NE(hit, nullptr);
    const QPoint inHit = hit->mapFrom(m_main.get(), onBar);
    const auto rightClick = [&](EditorView* view) {
        const auto outcome = modal::answer<QDialog>(
            [view](QDialog* editor) {
                view->title = editor->windowTitle();
                view->topLeft = editor->frameGeometry().topLeft();
                editor->findChild<QPushButton*>(QStringLiteral("CancelKnop"))->click();
            },
            500);
        QTest::mouseClick(hit, Qt::RightButton, Qt::NoModifier, inHit);
        QTest::qWait(1);
        return outcome->seen;
    };

    EditorView view;
    ASSERT_TRUE(rightClick(&view));
    EXPECT_EQ(view.title, QStringLiteral(" Kleuren infobalken"));
    const QPoint inLabel6 = label6->mapFrom(m_main.get(), onBar);
    const QRect available = m_main->screen()->availableGeometry();
    const QPoint wanted = m_main->screen()->geometry().topLeft() + inLabel6 + QPoint(0, 480);
    EXPECT_EQ(view.topLeft.x(), std::min(wanted.x(), available.right() + 1 - Colors::kOuterSize.width()));
    EXPECT_EQ(view.topLeft.y(), std::min(wanted.y(), available.bottom() + 1 - Colors::kOuterSize.height()));

    // The bar's tip shows there too.
    QHelpEvent tip(QEvent::ToolTip, inHit, hit->mapToGlobal(inHit));
    QCoreApplication::sendEvent(hit, &tip);
    EXPECT_EQ(QToolTip::text(), QStringLiteral(" Informatie "));
    QToolTip::hideText();

    // A song name long enough to run there is the info text.
    m_main->SetInfoLine(QString(120, QLatin1Char('W')));
    if (m_main->childAt(onBar) == control<QWidget>(QStringLiteral("InfoLabel"))) {
        ASSERT_TRUE(rightClick(&view));
        EXPECT_EQ(view.title, QStringLiteral(" Kleuren teksten"));
    }
    EXPECT_FALSE(anyFlag());
}
