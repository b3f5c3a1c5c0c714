#include "appearance/About.h"

#include "widgets/FormKit.h"
#include "widgets/Plaatjes.h"

#include <QLabel>
#include <QPushButton>

About::About(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("About"));
    setModal(true);
    Form_Load();
}

QString About::aboutText() {
    return QStringLiteral("Programma voor het beheren en afspelen van Mp3 en Midi bestanden. "
                          "Stel uw playlist samen en luister. Versie ") +
           QStringLiteral(TUNARA_VERSION);
}

void About::Form_Load() {
    // A small sans-serif dialog font: Arial 8 point (or its metric twin).
    setFont(QFont(QStringLiteral("Arial"), 8));
    setWindowTitle(QStringLiteral(" About..."));
    // 4800 x 2145 twips is the outer size; the client area is what a dialog frame leaves of it.
    setFixedSize(312, 116);

    auto* image1 = new QLabel(this);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setGeometry(QRect(widgets::px(210), widgets::px(180), 32, 32));
    image1->setPixmap(Plaatjes::aboutIcon().pixmap(QSize(32, 32), devicePixelRatioF()));

    auto* image2 = new QLabel(this);
    image2->setObjectName(QStringLiteral("Image2"));
    image2->setGeometry(widgets::twipRect(900, 120, 3690, 660));
    image2->setPixmap(Plaatjes::aboutBanner().pixmap(image2->size(), devicePixelRatioF()));

    QLabel* label4 = widgets::plainLabel(this, "Label4", widgets::twipRect(210, 975, 3300, 750), aboutText());
    label4->setWordWrap(true);
    label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    widgets::backdrop(this, "Label1", 3720, 1200, 900, 390);

    auto* okKnop = new QPushButton(QStringLiteral("Ok"), this);
    okKnop->setObjectName(QStringLiteral("OkKnop"));
    okKnop->setGeometry(widgets::twipRect(3750, 1230, 840, 330));
    okKnop->setDefault(true);
    connect(okKnop, &QPushButton::clicked, this, &About::OkKnop_Click);
}

void About::OkKnop_Click() {
    accept();
}
