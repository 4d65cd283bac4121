#include "app/Windows.h"

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "generators/TablePanel.h"
#include "generators/Unit3.h"
#include "generators/Unit4.h"
#include "generators/Unit6.h"

#include <QPushButton>

AppWindows::AppWindows()
    : m_form1(std::make_unique<TForm1>())
{
    TForm1 *form1 = m_form1.get();
    // The secondary windows belong to the main window and end with it.
    Form2 = new TForm2(form1);
    Form3 = new TForm3(form1);
    Form4 = new TForm4(form1);

    Form3->setTarget(form1->tablePanel);
    QObject::connect(Form3->Button1, &QPushButton::clicked, form1, [form1] { form1->run([] { Form3->Button1Click(); }); });
    Form4->setEditor(form1->s);
    Form6 = new TForm6(form1);
    Form6->setEditor(form1->s);
    QObject::connect(Form6, &TForm6::templateFailed, form1, [form1](const QString &message) {
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
