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

    // The comment field's text: its lines joined by CR LF.
    QString commentText() const;

private:
    std::function<void(const QString &)> m_append;
    // Their design names ("Edit1" … "Edit5", "Memo1", "BitBtn2" … "BitBtn6") are their objectNames.
    QLineEdit *m_marqueeText, *m_imageAddress, *m_videoAddress, *m_linkAddress, *m_linkText;
    QPlainTextEdit *m_comment;
    QPushButton *m_marqueeButton, *m_imageButton, *m_videoButton, *m_linkButton, *m_commentButton;
};
