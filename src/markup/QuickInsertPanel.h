#pragma once

#include <QWidget>
#include <functional>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The page "Różne": five small groups that build one line of markup around the user's text.
class QuickInsertPanel : public QWidget
{
    Q_OBJECT
public:
    // `append` adds one line to the document.
    QuickInsertPanel(std::function<void(const QString &)> append, QWidget *parent = nullptr);

    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5;
    QPlainTextEdit *Memo1;
    QPushButton *BitBtn2, *BitBtn3, *BitBtn4, *BitBtn5, *BitBtn6;

    // The comment field's text: its lines joined by CR LF.
    QString commentText() const;

private:
    std::function<void(const QString &)> m_append;
};
