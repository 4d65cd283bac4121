#pragma once

#include <QDialog>

class QLabel;

// The about window: one borderless picture; a click anywhere closes it.
class AboutWindow : public QDialog
{
    Q_OBJECT
public:
    explicit AboutWindow(QWidget *parent = nullptr);
    QLabel *Image1;

protected:
    void mousePressEvent(QMouseEvent *event) override;
};

extern AboutWindow *Form2;
