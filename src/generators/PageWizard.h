#pragma once

#include <QDialog>

class Guard;
class QLineEdit;
class SourceEditor;

// The page wizard: "Zakończ" replaces the document by a page built from the fields.
class PageWizard : public QDialog
{
    Q_OBJECT
public:
    PageWizard(SourceEditor &editor, const Guard &guard, QWidget *parent = nullptr);

    // Replaces the document by the page the fields describe and hides the wizard.
    void finish();

private:
    QWidget *endTab(const Guard &guard);

    SourceEditor &m_editor;
    QLineEdit *m_title, *m_author, *m_email, *m_description, *m_keywords, *m_generator;
    QLineEdit *m_background, *m_link, *m_visitedLink, *m_activeLink, *m_text, *m_backgroundImage;
};
