#include "about.h"

#include "icons.h"
#include "layout.h"
#include "runtime_files.h"
#include "seam.h"

#include <QCoreApplication>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace veldesk {

namespace {

QLabel* centred(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* l = control<QLabel>(parent, QString::fromLatin1(name), geometry);
    l->setText(text);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

const QString kHelpDocument = QStringLiteral("velpra.pdf");

} // namespace

about::about(QWidget* parent)
    : QDialog(parent), m_programDir(QCoreApplication::applicationDirPath())
{
    setObjectName(QStringLiteral("about"));
    setWindowTitle(QStringLiteral("VELDESK"));
    // The same face and size as the main window, for which the layout was drawn.
    if (parent)
        setFont(parent->font());
    setWindowIcon(buttonIcon(QStringLiteral("app")));
    setFixedSize(twips(0, 0, 4680, 2700).size());

    Frame1 = control<QFrame>(this, QStringLiteral("Frame1"), twips(120, 0, 4455, 735));
    Frame1->setFrameShape(QFrame::Box);
    Frame1->setFrameShadow(QFrame::Sunken);

    Label1_0 = centred(Frame1, "Label1_0", QStringLiteral("Estimation of field saturated hydraulic conductivity "),
                       twips(120, 120, 4095, 255));
    Label2 = centred(Frame1, "Label2", QStringLiteral("Zevade Zirav falling head permeameter"),
                     twips(120, 360, 4095, 255));
    QPalette blue = Label2->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 192));
    Label2->setPalette(blue);

    Label1_1 = centred(this, "Label1_1", QStringLiteral("Program by V. Arezo and Z. Zirav"),
                       twips(240, 840, 4095, 255));
    Label1_3 = centred(this, "Label1_3", QStringLiteral("Ver. 1.0, Sep., 2002"), twips(240, 1200, 4095, 255));
    Label1_6 = centred(this, "Label1_6", QStringLiteral("Questions and comments: velpra@example.org"),
                       twips(240, 1560, 4095, 255));

    Command2 = control<QPushButton>(this, QStringLiteral("Command2"), twips(240, 2280, 1215, 255));
    Command2->setText(QStringLiteral("View Help"));
    Command1 = control<QPushButton>(this, QStringLiteral("Command1"), twips(2040, 2280, 615, 255));
    Command1->setText(QStringLiteral("OK"));
    Command1->setDefault(true);

    connect(Command2, &QPushButton::clicked, this, &about::Command2_clicked);
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);
}

void about::Command2_clicked()
{
    // Looked for in the working directory first, as the document always was;
    // then beside the program and in the installed data directory, so the help
    // is found whichever directory the program was started from.
    const QString path = findRuntimeFile(kHelpDocument, QDir::currentPath(), m_programDir);
    if (path.isEmpty()) {
        veldesk::showMessage(this, QStringLiteral("Unable to Find VELPRA.pdf "), veldesk::MsgIcon::None);
        return;
    }
    // The document is there; what is missing is a program to show it.
    if (!veldesk::seam().openDocument(path))
        veldesk::showMessage(this,
                             QStringLiteral("The manual is ") + QDir::toNativeSeparators(QDir(path).absolutePath())
                                 + QStringLiteral(", but no program to show PDF files could be started."
                                                  " Install a PDF viewer, or open the manual with one."),
                             veldesk::MsgIcon::None);
}

} // namespace veldesk
