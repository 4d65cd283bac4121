#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class TablePanel;

// The table wizard: the table's size and attributes; "Utwórz" appends it to the table panel.
class TableWizard : public QDialog
{
    Q_OBJECT
public:
    explicit TableWizard(QWidget *parent = nullptr);

    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7;
    QPushButton *Button1;

    // The box the tables go to.
    void setTarget(TablePanel *panel) { m_target = panel; }
    void Button1Click(); // throws Failure for a bad number; nothing appended then

private:
    TablePanel *m_target = nullptr;
};

extern TableWizard *Form3;
