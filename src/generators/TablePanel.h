#pragma once

#include <QGroupBox>

class QPlainTextEdit;
class QPushButton;

// The scratch box "Kreator Tabel:" on the main window that collects generated tables.
class TablePanel : public QGroupBox
{
    Q_OBJECT
public:
    explicit TablePanel(QWidget *parent = nullptr);

    QPlainTextEdit *Memo2;
    QPushButton *BitBtn11, *BitBtn12, *BitBtn13;

    // Appends text (lines separated by LF) as new last lines, in one operation.
    void appendLines(const QString &text);
    QString text() const;

signals:
    void wizardRequested();
};
