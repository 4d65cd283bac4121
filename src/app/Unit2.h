#pragma once

#include <QDialog>

class QLabel;

// The about window: one borderless picture; a click anywhere closes it.
class TForm2 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm2(QWidget *parent = nullptr);
    QLabel *Image1;

protected:
    void mousePressEvent(QMouseEvent *event) override;
};

extern TForm2 *Form2;
