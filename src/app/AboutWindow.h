#pragma once

#include <QDialog>

// The about window: one borderless picture; a click anywhere closes it.
class AboutWindow : public QDialog
{
    Q_OBJECT
public:
    explicit AboutWindow(QWidget *parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent *event) override;
};
