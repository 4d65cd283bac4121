#include "app/ColouringPage.h"

#include "controls/Colors.h"
#include "controls/FreeButton.h"

#include <QGroupBox>
#include <QVBoxLayout>

ColouringPage::ColouringPage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSheet4"));
    auto *group = new QGroupBox(QStringLiteral("Kolorowanie składni:"), this);
    group->setObjectName(QStringLiteral("GroupBox6"));
    QFont captionFont(QStringLiteral("Verdana"));
    captionFont.setPixelSize(13);
    for (const Commands::ColourButton &b : Commands::colouringPage()) {
        auto *button = new FreeButton(group);
        button->setObjectName(QLatin1String(b.name));
        button->setGeometry(b.geometry);
        button->setBackColor(Colors::kButtonFace);
        button->setCaptionFont(captionFont, Colors::kWhite);
        button->setCaption(QLatin1String(b.caption));
        const Commands::Id id = b.command;
        connect(button, &FreeButton::onClick, this, [this, id] { emit commandChosen(id); });
    }
    auto *fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(group);
}
