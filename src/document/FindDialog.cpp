#include "document/FindDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

FindDialog::FindDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TFindDialog1"));
    setWindowTitle(QStringLiteral("Znajdź"));
    setModal(false);

    auto *label = new QLabel(QStringLiteral("&Znajdź:"), this);
    findEdit = new QLineEdit(this);
    findEdit->setObjectName(QStringLiteral("FindText"));
    label->setBuddy(findEdit);
    wholeWord = new QCheckBox(QStringLiteral("Uwzględniaj tylko całe &wyrazy"), this);
    matchCaseBox = new QCheckBox(QStringLiteral("Uwzględniaj &wielkość liter"), this);
    matchCaseBox->setObjectName(QStringLiteral("MatchCase"));

    auto *direction = new QGroupBox(QStringLiteral("Kierunek"), this);
    up = new QRadioButton(QStringLiteral("W &górę"), direction);
    down = new QRadioButton(QStringLiteral("W &dół"), direction);
    down->setChecked(true);
    auto *dirLayout = new QHBoxLayout(direction);
    dirLayout->addWidget(up);
    dirLayout->addWidget(down);

    findNext = new QPushButton(QStringLiteral("Znajdź &następny"), this);
    findNext->setObjectName(QStringLiteral("FindNext"));
    findNext->setDefault(true);
    cancel = new QPushButton(QStringLiteral("Anuluj"), this);

    auto *grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(findEdit, 0, 1, 1, 2);
    grid->addWidget(findNext, 0, 3);
    grid->addWidget(wholeWord, 1, 0, 1, 2);
    grid->addWidget(cancel, 1, 3);
    grid->addWidget(matchCaseBox, 2, 0, 1, 2);
    grid->addWidget(direction, 1, 2, 2, 1);

    connect(findNext, &QPushButton::clicked, this, &FindDialog::find);
    connect(cancel, &QPushButton::clicked, this, &QDialog::hide);
}

QString FindDialog::findText() const
{
    return findEdit->text();
}

bool FindDialog::matchCase() const
{
    return matchCaseBox->isChecked();
}
