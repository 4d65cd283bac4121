#include "app/AppWindows.h"

#include "app/MainWindow.h"
#include "app/AboutWindow.h"
#include "generators/TablePanel.h"
#include "generators/TableWizard.h"
#include "generators/PageWizard.h"
#include "generators/TemplatesWindow.h"

#include <QPushButton>

AppWindows::AppWindows()
    : m_form1(std::make_unique<MainWindow>())
{
    MainWindow *form1 = m_form1.get();
    // The secondary windows belong to the main window and end with it.
    Form2 = new AboutWindow(form1);
    Form3 = new TableWizard(form1);
    Form4 = new PageWizard(form1);

    Form3->setTarget(form1->tablePanel);
    QObject::connect(Form3->Button1, &QPushButton::clicked, form1, [form1] { form1->run([] { Form3->Button1Click(); }); });
    Form4->setEditor(form1->s);
    Form6 = new TemplatesWindow(form1);
    Form6->setEditor(form1->s);
    QObject::connect(Form6, &TemplatesWindow::templateFailed, form1, [form1](const QString &message) {
        form1->dialogs().showError(message);
    });
}

AppWindows::~AppWindows()
{
    m_form1.reset();
    Form2 = nullptr;
    Form3 = nullptr;
    Form4 = nullptr;
    Form6 = nullptr;
}
