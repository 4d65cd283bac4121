#include "generators/TableWizard.h"

#include "controls/DialogFrame.h"
#include "controls/EntryField.h"
#include "core/Dialogs.h"
#include "generators/TableMarkup.h"
#include "generators/TablePanel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TableWizard::TableWizard(TablePanel &target, const Guard &guard, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_target(target)
{
    DialogFrame::setUp(*this, "Form3", QStringLiteral("Kreator Tabel "), {460, 227}, false);

    const struct { QLineEdit **edit; const char *name, *label; int column, row; } fields[] = {
        {&m_cellsPerRow, "Edit1", "Ilość wierszy:", 0, 0}, {&m_rows, "Edit2", "Ilość kolumn:", 1, 0},
        {&m_align, "Edit3", "Wyrównanie:", 0, 1},          {&m_border, "Edit4", "Wielkość komurki:", 1, 1},
        {&m_padding, "Edit5", "Obramowanie:", 0, 2},       {&m_spacing, "Edit6", "Odstęp:", 1, 2},
        {&m_borderColour, "Edit7", "Kolor komurki:", 0, 3},
    };
    for (const auto &f : fields) {
        const int x = 16 + f.column * 232;
        const int y = 24 + f.row * 48;
        auto *label = new QLabel(QString::fromUtf8(f.label), this);
        label->setGeometry(x, y + 3, 100, 17);
        *f.edit = new EntryField(QString(), this);
        (*f.edit)->setObjectName(QLatin1String(f.name));
        (*f.edit)->setGeometry(x + 100, y, 105, 21);
        label->setBuddy(*f.edit);
    }
    auto *createButton = new QPushButton(QStringLiteral("Utwórz"), this);
    createButton->setObjectName(QStringLiteral("Button1"));
    createButton->setGeometry(244, 160, 201, 41);
    createButton->setAutoDefault(false);
    connect(createButton, &QPushButton::clicked, this, [this, &guard] { guard.run([this] { create(); }); });
}

void TableWizard::create()
{
    TableMarkup::Request request;
    request.cellsPerRow = TableMarkup::toInteger(m_cellsPerRow->text());
    request.rows = TableMarkup::toInteger(m_rows->text());
    request.align = m_align->text();
    request.border = TableMarkup::toInteger(m_border->text());
    request.cellPadding = TableMarkup::toInteger(m_padding->text());
    request.cellSpacing = TableMarkup::toInteger(m_spacing->text());
    request.borderColour = m_borderColour->text();
    m_target.appendLines(TableMarkup::generateUtf8(request));
    hide();
}
