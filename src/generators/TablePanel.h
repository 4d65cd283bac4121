#pragma once

#include <QGroupBox>

class ScintillaView;
class QMenu;
class QPushButton;

// The scratch box "Kreator Tabel:" on the main window that collects generated tables.
class TablePanel : public QGroupBox
{
    Q_OBJECT
public:
    explicit TablePanel(QWidget *parent = nullptr);

    ScintillaView *Memo2; // a Scintilla view: a table of a million lines shows at once
    QPushButton *BitBtn11, *BitBtn12, *BitBtn13;

    // Appends UTF-8 text (lines separated by LF) as new last lines, in one operation.
    void appendLines(const QByteArray &utf8);
    QString text() const;
    // The text box's own context menu, its items enabled for the box's state.
    QMenu *contextMenu();

signals:
    void wizardRequested();
};
