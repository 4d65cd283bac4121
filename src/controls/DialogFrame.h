#pragma once

#include "controls/Fonts.h"

#include <QDialog>
#include <QLabel>

namespace DialogFrame {

// Gives a secondary window its design name, caption, fixed size, modality and the main
// window's font.
inline void setUp(QDialog &dialog, const char *name, const QString &caption, QSize size, bool modal)
{
    dialog.setFont(Fonts::window());
    dialog.setObjectName(QLatin1String(name));
    dialog.setWindowTitle(caption);
    dialog.setFixedSize(size);
    dialog.setModal(modal);
}

// The heading strip across the top of a window: the panel "Panel1", `height` pixels high,
// holding one label at `labelGeometry` (relative to the panel).
inline QLabel *heading(QDialog &dialog, int height, const QString &text, const QFont &font, QRect labelGeometry)
{
    auto *panel = new QWidget(&dialog);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(0, 0, dialog.width(), height);
    auto *label = new QLabel(text, panel);
    label->setFont(font);
    label->setGeometry(labelGeometry);
    return label;
}

} // namespace DialogFrame
