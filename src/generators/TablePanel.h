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

    // Appends UTF-8 text (lines separated by LF) as new last lines, in one operation.
    void appendLines(const QByteArray &utf8);
    QString text() const;
    // The text box's own context menu, its items enabled for the box's state.
    QMenu *contextMenu();

signals:
    void wizardRequested();

private:
    // Their design names ("Memo2", "BitBtn11" … "BitBtn13") are their objectNames.
    ScintillaView *m_box; // a Scintilla view: a table of a million lines shows at once
    QPushButton *m_createButton, *m_copyButton, *m_clearButton;
};
