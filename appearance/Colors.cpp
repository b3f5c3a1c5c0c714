#include "appearance/Colors.h"

#include "widgets/FormKit.h"
#include "widgets/PaneColours.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>

namespace {

using widgets::paint;

QRect twips(int left, int top, int width, int height) {
    return widgets::twipRect(left, top, width, height);
}

QLabel* colourBar(QWidget* parent, const char* name, const QRect& geometry, const QColor& colour) {
    QLabel* l = widgets::plainLabel(parent, name, geometry);
    l->setAutoFillBackground(true);
    paint(l, QPalette::Window, colour);
    return l;
}

} // namespace

Colors::Colors(ProgramState& state, const MainControls& mainControls, QWidget* parent)
    : QDialog(parent), m_state(state), m_main(mainControls) {
    setObjectName(QStringLiteral("Colors"));
    setModal(true);
    createControls();
    Form_Load();
}

void Colors::createControls() {
    // A small sans-serif dialog font: Arial 8 point (or its metric twin).
    setFont(QFont(QStringLiteral("Arial"), 8));

    m_frame1 = new QGroupBox(this);
    m_frame1->setObjectName(QStringLiteral("Frame1"));

    QWidget* f = m_frame1;
    colourBar(f, "Label1", twips(180, 270, 1845, 315), QColor(192, 0, 0));
    colourBar(f, "Label2", twips(180, 660, 1845, 315), QColor(0, 128, 0));
    colourBar(f, "Label3", twips(180, 1050, 1845, 315), QColor(0, 0, 128));
    const struct {
        const char* name;
        const char* text;
        QRect geometry;
    } letters[] = {{"Label9", "R", twips(240, 330, 150, 195)},
                   {"Label10", "G", twips(240, 720, 150, 195)},
                   {"Label11", "B", twips(240, 1110, 135, 195)}};
    for (const auto& l : letters) {
        QLabel* letter = widgets::plainLabel(f, l.name, l.geometry, QLatin1String(l.text));
        paint(letter, QPalette::WindowText, QColor(255, 255, 255));
    }

    static const char* const valueNames[] = {"", "Label5", "Label6", "Label7"};
    static const char* const barNames[] = {"", "Rood", "Groen", "Blauw"};
    static const QColor valueBackgrounds[] = {QColor(), QColor(255, 0, 0), QColor(0, 255, 0),
                                              QColor(0, 0, 255)};
    for (int i = 1; i <= 3; ++i) {
        const int top = 300 + 390 * (i - 1);
        auto* bar = new QScrollBar(Qt::Horizontal, f);
        bar->setObjectName(QStringLiteral("Scroll_%1").arg(i));
        widgets::readerName(bar, QString::fromLatin1(barNames[i]));
        bar->setGeometry(twips(420, top, 1575, 255));
        bar->setRange(0, 255);
        bar->setSingleStep(1);
        bar->setPageStep(1);
        // Reachable with Tab; the arrow keys and Page Up/Down move the thumb.
        bar->setFocusPolicy(Qt::StrongFocus);
        bar->installEventFilter(this);
        m_scroll[i] = bar;

        QLabel* value = colourBar(f, valueNames[i], twips(2190, top, 375, 240), valueBackgrounds[i]);
        paint(value, QPalette::WindowText, QColor(0, 0, 0));
        value->setText(QStringLiteral("255"));
        m_valueLabel[i] = value;
    }

    m_preview = colourBar(f, "Label8", twips(180, 1500, 915, 345), QColor(0, 0, 0));
    colourBar(f, "Label4", twips(1320, 1470, 1305, 405), QColor(0, 0, 0));

    m_cancelKnop = new QPushButton(QStringLiteral("Cancel"), f);
    m_cancelKnop->setObjectName(QStringLiteral("CancelKnop"));
    m_cancelKnop->setGeometry(twips(1350, 1500, 705, 345));
    m_cancelKnop->setAutoDefault(false);
    m_okKnop = new QPushButton(QStringLiteral("Ok"), f);
    m_okKnop->setObjectName(QStringLiteral("OkKnop"));
    m_okKnop->setGeometry(twips(2070, 1500, 525, 345));
    m_okKnop->setAutoDefault(false);

    setTabOrder(m_scroll[1], m_scroll[2]);
    setTabOrder(m_scroll[2], m_scroll[3]);
    m_scroll[1]->setFocus();

    // Connected after the labels exist: loading the bars already raises Scroll_Change.
    for (int i = 1; i <= 3; ++i) {
        connect(m_scroll[i], &QScrollBar::valueChanged, this, [this, i] { Scroll_Change(i); });
    }
    connect(m_okKnop, &QPushButton::clicked, this, &Colors::OkKnop_Click);
    connect(m_cancelKnop, &QPushButton::clicked, this, &Colors::CancelKnop_Click);
}

void Colors::Form_Load() {
    // 3000 x 2490 twips is the outer size; the client area is what a dialog frame leaves of it.
    setFixedSize(192, 139);
    m_frame1->setGeometry(twips(60, -30, 2805, 2010));

    if (m_state.colourTarget) {
        // A hand-edited settings file may hold values a bar cannot show: show the nearest.
        const ColourTriple& triple = common::paneColour(m_state.settings, *m_state.colourTarget);
        m_scroll[1]->setValue(std::clamp(triple.red, 0, 255));
        m_scroll[2]->setValue(std::clamp(triple.green, 0, 255));
        m_scroll[3]->setValue(std::clamp(triple.blue, 0, 255));
    }
    Scroll_Change(1);
}

bool Colors::eventFilter(QObject* watched, QEvent* event) {
    // A scroll bar inverts its keys (Right would lower the value); these bars move the way the key
    // points: Right and Up raise the value, Left and Down lower it, Page Up/Down by a page.
    auto* bar = qobject_cast<QScrollBar*>(watched);
    if (bar && event->type() == QEvent::KeyPress) {
        static const std::pair<int, QAbstractSlider::SliderAction> keys[] = {
            {Qt::Key_Right, QAbstractSlider::SliderSingleStepAdd},
            {Qt::Key_Up, QAbstractSlider::SliderSingleStepAdd},
            {Qt::Key_Left, QAbstractSlider::SliderSingleStepSub},
            {Qt::Key_Down, QAbstractSlider::SliderSingleStepSub},
            {Qt::Key_PageUp, QAbstractSlider::SliderPageStepAdd},
            {Qt::Key_PageDown, QAbstractSlider::SliderPageStepSub},
            {Qt::Key_Home, QAbstractSlider::SliderToMinimum},
            {Qt::Key_End, QAbstractSlider::SliderToMaximum},
        };
        const int key = static_cast<QKeyEvent*>(event)->key();
        for (const auto& [k, action] : keys) {
            if (k == key) {
                bar->triggerAction(action);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Colors::Scroll_Change(int) {
    for (int i = 1; i <= 3; ++i) {
        m_valueLabel[i]->setText(QString::number(m_scroll[i]->value()));
    }
    paint(m_preview, QPalette::Window,
          QColor(m_scroll[1]->value(), m_scroll[2]->value(), m_scroll[3]->value()));
}

void Colors::OkKnop_Click() {
    const ColourTriple chosen{m_scroll[1]->value(), m_scroll[2]->value(), m_scroll[3]->value()};
    if (m_state.colourTarget) {
        common::paneColour(m_state.settings, *m_state.colourTarget) = chosen;
        widgets::applyPaneColour(m_main, *m_state.colourTarget, chosen);
    }
    accept();
}

void Colors::CancelKnop_Click() {
    reject();
}

void Colors::done(int result) {
    // Every way out (Ok, Cancel, Escape, the window's close box) ends the edit.
    m_state.colourTarget.reset();
    QDialog::done(result);
}
