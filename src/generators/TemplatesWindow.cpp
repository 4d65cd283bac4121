#include "generators/TemplatesWindow.h"

#include "controls/Colors.h"
#include "controls/DialogFrame.h"
#include "controls/Fonts.h"
#include "controls/FreeButton.h"
#include "core/Dialogs.h"
#include "core/Failure.h"
#include "document/SourceEditor.h"
#include "generators/Templates.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLoggingCategory>

TemplatesWindow::TemplatesWindow(SourceEditor &editor, const Guard &guard, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_editor(editor)
{
    DialogFrame::setUp(*this, "Form6", QStringLiteral("Tarnwick - Szablony"), {807, 182}, true);

    DialogFrame::heading(*this, 65, QStringLiteral("GOTOWE SZABLONY STRON"), Fonts::heading(19, true), {0, 0, 807, 65})
        ->setAlignment(Qt::AlignCenter);

    auto *body = new QWidget(this);
    body->setObjectName(QStringLiteral("Panel2"));
    body->setGeometry(0, 65, 807, 117);
    QFont captionFont(QStringLiteral("Verdana"));
    captionFont.setPixelSize(13);
    const int lefts[] = {16, 144, 272, 400, 528, 656};
    const QList<Templates::Entry> &entries = Templates::entries();
    for (int i = 0; i < entries.size(); ++i) {
        auto *b = new FreeButton(body);
        b->setObjectName(QLatin1String(entries[i].button));
        b->setGeometry(lefts[i], 16, 121, 41);
        b->setDrawColor(Colors::kDeepBlue);
        b->setBackColor(i == 0 ? Colors::kSilver : Colors::kButtonFace);
        b->setCaptionFont(captionFont, Colors::kWhite);
        b->setCaption(entries[i].caption);
        connect(b, &FreeButton::onClick, this, [this, &guard, i] { guard.run([this, i] { loadTemplate(i); }); });
        if (i == 0)
            m_first = b;
    }
    auto *rule = new QFrame(body);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setGeometry(8, 72, 785, 2);
    auto *credit = new QLabel(QStringLiteral("Programmed by Velmora Soft."), body);
    credit->move(336, 88);
}

void TemplatesWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // A keyboard user chooses at once: Tab moves along the row, Space or Enter loads.
    m_first->setFocus(Qt::TabFocusReason);
}

namespace {
QStringList &overriddenFolders()
{
    static QStringList folders;
    return folders;
}
} // namespace

void TemplatesWindow::setBundledFolders(const QStringList &folders)
{
    overriddenFolders() = folders;
}

QStringList TemplatesWindow::bundledFolders()
{
    if (!overriddenFolders().isEmpty())
        return overriddenFolders();
    QStringList folders;
    // TARNWICK_DATA_DIR names a share/tarnwick folder elsewhere, such as a package unpacked
    // for a check; then the folders beside the program, as installed or as built.
    const QString dataDir = qEnvironmentVariable("TARNWICK_DATA_DIR");
    if (!dataDir.isEmpty())
        folders << dataDir + QStringLiteral("/szablony");
    const QString app = QCoreApplication::applicationDirPath();
    folders << app + QStringLiteral("/szablony") << app + QStringLiteral("/../share/tarnwick/szablony");
#ifdef TARNWICK_SOURCE_TEMPLATES
    folders << QStringLiteral(TARNWICK_SOURCE_TEMPLATES);
#endif
#ifdef TARNWICK_INSTALLED_TEMPLATES
    folders << QStringLiteral(TARNWICK_INSTALLED_TEMPLATES);
#endif
    return folders;
}

void TemplatesWindow::loadTemplate(int index)
{
    const Templates::Entry &entry = Templates::entries().at(index);
    const QString path = Templates::resolve(entry.file, bundledFolders());
    if (path.isEmpty())
        throw Failure(QStringLiteral("Cannot open file \"%1\". %2")
                          .arg(Templates::relativePath(entry.file), QStringLiteral("No such file or directory")));
    // QT_LOGGING_RULES="tarnwick.templates.info=true" tells which folder a template came from.
    static const QLoggingCategory category("tarnwick.templates", QtWarningMsg);
    qCInfo(category).noquote() << QFileInfo(path).canonicalFilePath();
    try {
        m_editor.loadFromFile(path);
    } catch (const Failure &) {
        QFile probe(path);
        probe.open(QIODevice::ReadOnly);
        throw Failure(QStringLiteral("Cannot open file \"%1\". %2").arg(Templates::relativePath(entry.file), probe.errorString()));
    }
    accept();
}
