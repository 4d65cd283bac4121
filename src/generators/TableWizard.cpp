#include "generators/TableWizard.h"

#include "generators/TableMarkup.h"
#include "generators/TablePanel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TableWizard *Form3 = nullptr;

TableWizard::TableWizard(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Kreator Tabel "));
    setFixedSize(460, 227);
    setModal(false);

    const struct { QLineEdit **edit; const char *name, *label; int column, row; } fields[] = {
        {&Edit1, "Edit1", "Ilość wierszy:", 0, 0}, {&Edit2, "Edit2", "Ilość kolumn:", 1, 0},
        {&Edit3, "Edit3", "Wyrównanie:", 0, 1},    {&Edit4, "Edit4", "Wielkość komurki:", 1, 1},
        {&Edit5, "Edit5", "Obramowanie:", 0, 2},   {&Edit6, "Edit6", "Odstęp:", 1, 2},
        {&Edit7, "Edit7", "Kolor komurki:", 0, 3},
    };
    for (const auto &f : fields) {
        const int x = 16 + f.column * 232;
        const int y = 24 + f.row * 48;
        auto *label = new QLabel(QString::fromUtf8(f.label), this);
        label->setGeometry(x, y + 3, 100, 17);
        *f.edit = new QLineEdit(this);
        (*f.edit)->setObjectName(QLatin1String(f.name));
        (*f.edit)->setGeometry(x + 100, y, 105, 21);
        label->setBuddy(*f.edit);
    }
    Button1 = new QPushButton(QStringLiteral("Utwórz"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(244, 160, 201, 41);
    Button1->setAutoDefault(false);
}

void TableWizard::Button1Click()
{
    TableMarkup::Request request;
    request.cellsPerRow = TableMarkup::toInteger(Edit1->text());
    request.rows = TableMarkup::toInteger(Edit2->text());
    request.align = Edit3->text();
    request.border = TableMarkup::toInteger(Edit4->text());
    request.cellPadding = TableMarkup::toInteger(Edit5->text());
    request.cellSpacing = TableMarkup::toInteger(Edit6->text());
    request.borderColour = Edit7->text();
    const QByteArray table = TableMarkup::generateUtf8(request);
    if (m_target)
        m_target->appendLines(table);
    hide();
}
