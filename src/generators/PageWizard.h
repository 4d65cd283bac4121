#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QTabWidget;
class SourceEditor;

// The page wizard: "Zakończ" replaces the document by a page built from the fields.
class PageWizard : public QDialog
{
    Q_OBJECT
public:
    explicit PageWizard(QWidget *parent = nullptr);

    QTabWidget *PageControl1;
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit12;
    QLineEdit *Edit6, *Edit7, *Edit8, *Edit9, *Edit10, *Edit11;
    QPushButton *Button1, *Button2;

    void setEditor(SourceEditor *editor) { m_editor = editor; }
    void Button2Click();

private:
    SourceEditor *m_editor = nullptr;
};

extern PageWizard *Form4;
