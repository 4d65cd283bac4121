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

    QLineEdit *findEdit;
    QCheckBox *wholeWord, *matchCaseBox;
    QRadioButton *up, *down;
    QPushButton *findNext, *cancel;

signals:
    void find();
};
