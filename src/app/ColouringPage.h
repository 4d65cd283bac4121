#pragma once

#include "app/CommandTable.h"

#include <QWidget>

class FreeButton;

// The page "Kolorowanie składni": a group of self-painted buttons, one for each colouring
// scheme of the editor, laid out as the command table says.
class ColouringPage : public QWidget
{
    Q_OBJECT
public:
    explicit ColouringPage(QWidget *parent = nullptr);

signals:
    void commandChosen(Commands::Id command);
};
