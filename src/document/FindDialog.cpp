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
    m_findText = new QLineEdit(this);
    m_findText->setObjectName(QStringLiteral("FindText"));
    label->setBuddy(m_findText);
    m_wholeWord = new QCheckBox(QStringLiteral("Uwzględniaj tylko całe &wyrazy"), this);
    m_matchCase = new QCheckBox(QStringLiteral("Uwzględniaj &wielkość liter"), this);
    m_matchCase->setObjectName(QStringLiteral("MatchCase"));

    auto *direction = new QGroupBox(QStringLiteral("Kierunek"), this);
    m_up = new QRadioButton(QStringLiteral("W &górę"), direction);
    m_up->setObjectName(QStringLiteral("DirectionUp"));
    m_down = new QRadioButton(QStringLiteral("W &dół"), direction);
    m_down->setChecked(true);
    auto *dirLayout = new QHBoxLayout(direction);
    dirLayout->addWidget(m_up);
    dirLayout->addWidget(m_down);

    m_findNext = new QPushButton(QStringLiteral("Znajdź &następny"), this);
    m_findNext->setObjectName(QStringLiteral("FindNext"));
    m_findNext->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Anuluj"), this);

    auto *grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(m_findText, 0, 1, 1, 2);
    grid->addWidget(m_findNext, 0, 3);
    grid->addWidget(m_wholeWord, 1, 0, 1, 2);
    grid->addWidget(m_cancel, 1, 3);
    grid->addWidget(m_matchCase, 2, 0, 1, 2);
    grid->addWidget(direction, 1, 2, 2, 1);

    connect(m_findNext, &QPushButton::clicked, this, &FindDialog::find);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::hide);
}

QString FindDialog::findText() const
{
    return m_findText->text();
}

bool FindDialog::matchCase() const
{
    return m_matchCase->isChecked();
}
