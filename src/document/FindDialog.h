#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The modeless Find dialog: find text, whole word, match case, direction, find next, cancel.
class FindDialog : public QDialog
{
    Q_OBJECT
public:
    explicit FindDialog(QWidget *parent = nullptr);

    QString findText() const;
    bool matchCase() const;

signals:
    void find();

private:
    QLineEdit *m_findText;
    QCheckBox *m_wholeWord, *m_matchCase;
    QRadioButton *m_up, *m_down;
    QPushButton *m_findNext, *m_cancel;
};
