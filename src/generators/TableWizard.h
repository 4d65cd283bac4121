#pragma once

#include <QDialog>

class Guard;
class QLineEdit;
class TablePanel;

// The table wizard: the table's size and attributes; "Utwórz" appends it to the table panel.
class TableWizard : public QDialog
{
    Q_OBJECT
public:
    TableWizard(TablePanel &target, const Guard &guard, QWidget *parent = nullptr);

    // Builds the table from the fields and appends it; throws Failure for a bad number, and
    // nothing is appended then.
    void create();

private:
    TablePanel &m_target;
    QLineEdit *m_cellsPerRow, *m_rows, *m_align, *m_border, *m_padding, *m_spacing, *m_borderColour;
};
