#include "selectdir.h"

#include "datadir.h"
#include "layout.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>

namespace veldesk {

namespace {

QLabel* label(QWidget* parent, const char* name, const QString& text, bool bold, const QRect& geometry)
{
    auto* l = control<QLabel>(parent, QString::fromLatin1(name), geometry);
    l->setText(text);
    if (bold) {
        QFont f; // only the weight: face and size come from the window
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* b = control<QPushButton>(parent, QString::fromLatin1(name), geometry);
    b->setText(text);
    // Enter opens a directory in the list; it must never accept the window.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

} // namespace

selectdir::selectdir(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("selectdir"));
    setWindowTitle(QString::fromUtf8("Selección de Directorio de datos"));
    // The same face and size as the main window, for which the layout was drawn.
    if (parent)
        setFont(parent->font());
    setFixedSize(twips(0, 0, 6600, 3945).size());

    Label1_0 = label(this, "Label1_0", QStringLiteral("Path"), true, twips(240, 0, 2295, 255));
    Text2 = control<QLineEdit>(this, QStringLiteral("Text2"), twips(240, 240, 3735, 285));
    Label1_1 = label(this, "Label1_1", QStringLiteral("File Name"), true, twips(4200, 0, 1455, 255));
    Text3 = control<QLineEdit>(this, QStringLiteral("Text3"), twips(4200, 240, 1695, 285));
    Text3->setText(QStringLiteral("Fname"));
    Label2 = label(this, "Label2", QStringLiteral("Dir.:"), true, twips(240, 720, 2175, 255));
    Label3 = label(this, "Label3", QStringLiteral("Filter:"), false, twips(2640, 720, 615, 255));
    Text1 = control<QLineEdit>(this, QStringLiteral("Text1"), twips(3360, 720, 615, 285));
    Text1->setText(QStringLiteral("*.pd"));
    Dir1 = control<QListWidget>(this, QStringLiteral("Dir1"), twips(240, 960, 2175, 2790));
    Dir1->setIconSize(QSize(16, 16));
    File1 = control<QListWidget>(this, QStringLiteral("File1"), twips(2640, 1080, 2175, 2625));
    Command3 = button(this, "Command3", QStringLiteral("Cancelar"), twips(5040, 3000, 1335, 375));
    Command2 = button(this, "Command2", QStringLiteral("Aceptar"), twips(5040, 3480, 1335, 375));

    connect(Dir1, &QListWidget::itemActivated, this, &selectdir::Dir1_activated);
    connect(File1, &QListWidget::currentRowChanged, this, &selectdir::File1_clicked);
    // A click on the file already chosen takes its name again, over whatever
    // was typed into the name box since.
    connect(File1, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { File1_clicked(File1->row(item)); });
    connect(Text1, &QLineEdit::textChanged, this, [this] { fillFileList(); });
    connect(Command2, &QPushButton::clicked, this, &selectdir::Command2_clicked);
    connect(Command3, &QPushButton::clicked, this, &QDialog::reject);

    // Each opening starts from the working directory, which is only read here.
    showDirectory(datadir::initialDirectory(QDir::currentPath()));
}

void selectdir::showDirectory(const QString& dir)
{
    m_dir = dir;
    Text2->setText(datadir::shownPath(dir));

    Dir1->clear();
    const QIcon folder = style()->standardIcon(QStyle::SP_DirIcon);
    for (const QString& entry : datadir::directoryEntries(dir))
        new QListWidgetItem(folder, entry, Dir1);

    fillFileList();
}

void selectdir::fillFileList()
{
    // Refilling the list is no choice of the operator's: keep it from the name box.
    const QSignalBlocker quiet(File1);
    File1->clear();
    File1->addItems(datadir::archivos(m_dir, Text1->text()));
    File1->setCurrentRow(-1);
}

void selectdir::Dir1_activated(QListWidgetItem* item)
{
    if (!item)
        return;
    const QString target = datadir::enterDirectory(m_dir, item->text());
    // A directory that vanished or cannot be read keeps the list where it was.
    if (!QFileInfo(target).isDir() || !QDir(target).isReadable())
        return;
    showDirectory(target);
}

void selectdir::File1_clicked(int row)
{
    if (row >= 0)
        Text3->setText(File1->item(row)->text());
}

void selectdir::Command2_clicked()
{
    Text3->setText(datadir::cutName(Text3->text()));
    m_composed = datadir::composePath(Text2->text(), Text3->text(), QDir::separator());
    accept();
}

} // namespace veldesk
